// The thesaurus link without its library.
#include <gtest/gtest.h>

#include "shell/thesaurus_link.h"

namespace {

TEST(ThesaurusLink, MissingLibraryOrEntryPointGivesNotFound) {
  // The C library exists but has no thesaurus entry point.
  for (const char* name : {"libquillomark-no-such-thesaurus.so", "libc.so.6"}) {
    TThesaurusLink link;
    link.LibraryName = name;
    link.LookupWord = "word";
    try {
      link.Execute();
      FAIL() << name;
    } catch (const EThesaurusLinkError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("WordWeb Thesaurus is not found. Please install the free version of WordWeb "
                            "Thesaurus from ") + kThesaurusDownloadAddress);
    }
    EXPECT_EQ(link.ReturnWord, "");
  }
}

}  // namespace
