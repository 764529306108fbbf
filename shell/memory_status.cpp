#include "shell/memory_status.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

TMemoryStatus ParseMemInfo(const std::string& text) {
  std::istringstream in(text);
  std::string key;
  uint64_t total = 0, available = 0, value = 0;
  std::string unit;
  while (in >> key >> value) {
    std::getline(in, unit);
    if (key == "MemTotal:") total = value;
    else if (key == "MemAvailable:") available = value;
  }
  TMemoryStatus s;
  s.TotalKB = total;
  s.AvailableKB = std::min(available, total);
  s.LoadPercent = total > 0 ? int(100 - std::min(available, total) * 100 / total) : 0;
  return s;
}

TMemoryStatus ReadMemoryStatus() {
  std::ifstream file("/proc/meminfo");
  std::stringstream text;
  text << file.rdbuf();
  return ParseMemInfo(text.str());
}

bool FileFitsInMemory(uint64_t fileBytes, uint64_t availableKB) {
  // A text never has more characters than its file has bytes.
  if (fileBytes >= uint64_t(INT_MAX)) return false;
  return availableKB == 0 || fileBytes * kLoadBytesPerFileByte <= availableKB * 1024;
}
