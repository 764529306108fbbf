#include "shell/web_lookup.h"

#include <cctype>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/shell_open.h"

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

std::string PercentEncode(const std::string& utf8) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : utf8) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace

std::string LookupAddress(const std::string& urlTemplate, const std::string& word) {
  return LookupAddress(urlTemplate, AnsiToWide(word));
}

std::string LookupAddress(const std::string& urlTemplate, const std::u16string& word) {
  if (!StartsWithNoCase(urlTemplate, "http://") && !StartsWithNoCase(urlTemplate, "https://"))
    throw Exception("Not a web address: " + urlTemplate);
  std::string encoded = PercentEncode(WideToAnsi(word, CP_UTF8));
  std::string address;
  for (char c : urlTemplate) address += c == '#' ? encoded : std::string(1, c);
  return address;
}

bool WebLookup(const std::string& urlTemplate, const std::string& word) {
  return ShellOpen(LookupAddress(urlTemplate, word));
}

bool WebLookup(const std::string& urlTemplate, const std::u16string& word) {
  return ShellOpen(LookupAddress(urlTemplate, word));
}
