// Web look-up addresses and their hand-over to the desktop.
#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/gui/shell_open.h"
#include "shell/web_lookup.h"

namespace {

TEST(WebLookup, WordIsEncodedAsUtf8) {
  struct Case { std::string tmpl, word, address; };
  const Case cases[] = {
      {"https://example.org/?q=#", "\xEC\xE8\xF0", "https://example.org/?q=%D0%BC%D0%B8%D1%80"},  // "мир" in 1251
      {"http://x.test/#/#", "a b&c", "http://x.test/a%20b%26c/a%20b%26c"},
      {"HTTPS://x.test/w", "word", "HTTPS://x.test/w"},
  };
  for (const Case& c : cases) EXPECT_EQ(LookupAddress(c.tmpl, c.word), c.address) << c.tmpl;
}

TEST(WebLookup, NonWebTemplateIsRefused) {
  for (const char* tmpl : {"file:///etc/#", "/usr/bin/x #", "javascript:#", ""})
    EXPECT_THROW(LookupAddress(tmpl, "w"), Exception) << tmpl;
}

TEST(WebLookup, OpensTheAddressThroughTheDesktop) {
  std::vector<std::string> opened;
  SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); return true; });
  EXPECT_TRUE(WebLookup("https://example.org/?q=#", "cat"));
  EXPECT_THROW(WebLookup("ftp://example.org/#", "cat"), Exception);
  SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/?q=cat"});
}

}  // namespace
