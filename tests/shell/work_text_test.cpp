// Characters that the work code page cannot hold survive a pass over the work text's bytes.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "shell/operation.h"

namespace {

TEST(WorkText, CharactersTheCodePageLacksComeBackAroundChangedBytes) {
  struct Case {
    std::u16string original;
    std::string after;  // what the pass made of the original's code page 1251 bytes
    std::u16string expected;
  };
  const Case cases[] = {
      {u"café", "caf?", u"café"},
      {u"x😀y", "x?y", u"x😀y"},                 // a surrogate pair is one character
      {u"Ωмир", "?\xCC\xC8\xD0", u"ΩМИР"},        // the letters changed, Omega stays
      {u"a?b", "a?b", u"a?b"},                    // a real question mark stays one
      {u"éé", "?", u"é"},                         // a shorter result keeps what it did not touch
  };
  for (const Case& c : cases)
    EXPECT_EQ(WorkTextToWide(c.original, WideToAnsi(c.original, 1251), c.after), c.expected)
        << WideToUtf8(c.original);
}

}  // namespace
