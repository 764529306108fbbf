// Characters that code page 1251 cannot hold survive a byte-for-byte pass over its bytes.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "tools/kept_characters.h"

namespace {

TEST(KeptCharacters, UnmappedCharactersComeBackAroundConvertedBytes) {
  struct Case {
    std::u16string original;
    std::string bytes;  // what the pass made of WideToAnsi(original)
    std::u16string expected;
  };
  const Case cases[] = {
      {u"café", "caf?", u"café"},
      {u"x😀y", "x?y", u"x😀y"},                       // a surrogate pair is one character
      {u"Ωмир", "?\xCC\xC8\xD0", u"ΩМИР"},              // the letters changed, Omega stays
      {u"a?b", "a?b", u"a?b"},                          // a real question mark stays one
      {u"éé", "?", u"?"},                               // lengths differ: the bytes as they are
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeepUnmappedCharacters(c.original, c.bytes, 1251), c.expected) << WideToUtf8(c.original);
}

}  // namespace
