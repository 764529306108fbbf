#include "textcore/locale_text.h"

#include "platform/code_pages.h"

namespace {

constexpr unsigned kDefaultCharset = 1;

LCID LowWord(LCID lcid) { return lcid & 0xFFFF; }

int Sign(int order) { return (order > 0) - (order < 0); }

}  // namespace

std::string LocaleLanguageName(LCID Lcid) { return LocaleLanguageDisplayName(LowWord(Lcid)); }

unsigned LocaleCodePage(LCID Lcid) {
  // A locale whose code page has no table here (the double-byte Asian ones) converts through
  // the system code page, so that no conversion of the program's text can fail.
  const unsigned codePage = LocaleAnsiCodePage(LowWord(Lcid));
  return codePage != 0 && IsCodePageSupported(codePage) ? codePage : SystemCodePage();
}

unsigned LocaleCharset(LCID Lcid) {
  const unsigned codePage = LocaleAnsiCodePage(LowWord(Lcid));
  return CodePageCharset(codePage != 0 ? codePage : SystemCodePage(), kDefaultCharset);
}

std::u16string AnsiToWideString(std::string_view S, unsigned CodePage) {
  return S.empty() ? std::u16string() : AnsiToWide(S, CodePage);
}

std::string WideStringToAnsi(std::u16string_view W, unsigned CodePage) {
  return W.empty() ? std::string() : WideToAnsi(W, CodePage);
}

int CompareLocale(std::string_view A, std::string_view B, LCID Lcid) {
  return Sign(CompareLocaleStrings(LowWord(Lcid), false, A, B));
}

int CompareLocaleText(std::string_view A, std::string_view B, LCID Lcid) {
  return Sign(CompareLocaleStrings(LowWord(Lcid), true, A, B));
}

bool IsAllLower(std::string_view S) { return AnsiLowerCase(S) == S; }

bool IsAllUpper(std::string_view S) { return AnsiUpperCase(S) == S; }
