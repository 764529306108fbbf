// The machine's memory, from the kernel's figures (MemTotal and MemAvailable of /proc/meminfo).
#pragma once

#include <cstdint>
#include <string>

// Total and available memory in kilobytes, and the load in percent.
struct TMemoryStatus {
  uint64_t TotalKB = 0;
  uint64_t AvailableKB = 0;
  int LoadPercent = 0;
};
TMemoryStatus ReadMemoryStatus();
// The figures of /proc/meminfo text.
TMemoryStatus ParseMemInfo(const std::string& text);

// What loading a document takes at most, per byte of its file (the text, the editor's copy
// and its layout).
inline constexpr uint64_t kLoadBytesPerFileByte = 6;
// A document file of `fileBytes` can be loaded: its text fits the editor's positions (32 bits)
// and kLoadBytesPerFileByte times its size fits in `availableKB` (0: not known, no limit).
bool FileFitsInMemory(uint64_t fileBytes, uint64_t availableKB);
