#include "shell/net_directory.h"

#include <map>
#include <strings.h>

namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// A number 0..99 at the start of `s` followed by `rest` exactly; -1 otherwise.
int IndexBefore(const std::string& s, const std::string& rest) {
  size_t digits = 0;
  while (digits < s.size() && digits < 3 && s[digits] >= '0' && s[digits] <= '9') ++digits;
  if (digits == 0 || digits > 2 || s.compare(digits, std::string::npos, rest) != 0) return -1;
  return std::stoi(s.substr(0, digits));
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  const size_t n = std::char_traits<char>::length(prefix);
  return s.size() >= n && strncasecmp(s.c_str(), prefix, n) == 0;
}

}  // namespace

std::vector<TDirectoryGroup> ParseDirectory(const std::string& text) {
  // Later lines of the same key win, as in an INI file.
  std::map<int, std::string> groups;
  std::map<int, std::map<int, std::string>> entries;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, eq)), value = line.substr(eq + 1);
    if (!StartsWithNoCase(key, "item")) continue;
    const std::string rest = key.substr(4);
    if (int n = IndexBefore(rest, ""); n >= 0) {
      groups[n] = Trim(value);
      continue;
    }
    const size_t dash = rest.find('-');
    if (dash == std::string::npos || !StartsWithNoCase(rest.substr(dash + 1), "subitem")) continue;
    const int n = IndexBefore(rest.substr(0, dash), ""), m = IndexBefore(rest.substr(dash + 8), "");
    if (n >= 0 && m >= 0) entries[n][m] = value;
  }
  std::vector<TDirectoryGroup> result;
  for (const auto& [n, caption] : groups) {
    TDirectoryGroup g{caption, {}};
    for (const auto& [m, value] : entries[n]) {
      const size_t bar = value.find('|');
      TDirectoryEntry e;
      e.Caption = Trim(value.substr(0, bar));
      if (bar != std::string::npos) e.Address = Trim(value.substr(bar + 1)).substr(0, 128);
      e.ImageIndex = DirectoryImage(e.Address);
      g.Entries.push_back(e);
    }
    result.push_back(std::move(g));
  }
  return result;
}

int DirectoryImage(const std::string& address) {
  const size_t dot = address.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : address.substr(dot + 1);
  if (strcasecmp(ext.c_str(), "zip") == 0) return diZip;
  if (strcasecmp(ext.c_str(), "exe") == 0) return diExe;
  return diEntry;
}

bool OpenableAddress(const std::string& address) {
  for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
    if (StartsWithNoCase(address, scheme) && address.size() > std::char_traits<char>::length(scheme)) return true;
  return false;
}

std::string DirectoryFileName(const std::string& url) {
  const size_t slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}
