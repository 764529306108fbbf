#include "proofing/change_log.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr const char* kLogHeads[] = {"Changed words", "Uncertain words", "Unrecognized words", "Shortened words",
                                     "Names",         "New words",       "Multiple variants"};

}  // namespace

std::string MakeLogEntry(int Kind, int Position, bool Plus, const std::string& Original,
                         const std::string& Replacement) {
  char head[32];
  std::snprintf(head, sizeof head, "%d***%.10d: ", Kind, Position);
  std::string entry = head;
  entry += Plus ? '+' : '-';
  entry += Original;
  if (!Replacement.empty() && Replacement != Original) entry += "=" + Replacement;
  return entry;
}

std::string LogLineOf(const std::string& Entry) {
  // Entry: kind, "***", ten digits, ": ", rest.
  if (Entry.size() < 16) return Entry;
  const std::string digits = Entry.substr(4, 10);
  size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos || first > 5) first = 5;
  return (digits.substr(first) + Entry.substr(14)).substr(0, 1000);
}

void AppendLog(const std::string& Path, const std::vector<std::string>& Entries, const std::string& DateTime) {
  std::ofstream out(Path, std::ios::binary | std::ios::app);
  if (!out) return;
  out << "\r\n" << std::string(56, '-') << ": " << DateTime << "\r\n\r\n";
  char previous = 0;
  for (const std::string& entry : Entries) {
    if (entry.empty()) continue;
    if (entry[0] != previous) {
      const int kind = entry[0] - '0';
      out << "\r\n[" << (kind >= 0 && kind < 7 ? kLogHeads[kind] : "") << "]\r\n";
      previous = entry[0];
    }
    out << LogLineOf(entry) << "\r\n";
  }
}

std::string FindInLog(const std::string& Path, const std::string& Text) {
  std::ifstream in(Path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line.substr(eq + 1, 100) != Text) continue;
    std::string key = line.substr(0, eq);
    if (const size_t colon = key.find(": "); colon != std::string::npos) key = key.substr(colon + 2);
    if (!key.empty() && (key[0] == '+' || key[0] == '-')) key.erase(0, 1);
    return key;
  }
  return {};
}
