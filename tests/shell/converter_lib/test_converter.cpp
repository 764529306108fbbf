// A text converter for the tests. Its format ("QMDOC") is a header line followed by RTF:
//   "QMDOC1\n" + RTF
// The import hands the RTF over in chunks of at most 1000 bytes; the export writes the header
// and every byte the program hands over. A document whose RTF holds "FAILIMPORT" or
// "FAILEXPORT" makes that direction fail with error code 7 (export after writing half the file).
// "SLOWIMPORT" makes the import take 300 ms.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "shell/converter_api.h"

namespace {

constexpr char kHeader[] = "QMDOC1\n";
constexpr long kChunk = 1000;
constexpr long kFailure = 7;

std::string lastProgramPath;
std::thread::id lastImportThread;

bool ReadFile(const char* name, std::string& data) {
  std::FILE* file = std::fopen(name, "rb");
  if (!file) return false;
  char buffer[4096];
  size_t n;
  data.clear();
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
  std::fclose(file);
  return true;
}

bool IsOurs(const std::string& data) { return data.compare(0, std::strlen(kHeader), kHeader) == 0; }

}  // namespace

extern "C" {

long InitConverter32(long /*appWindow*/, const char* programPath) {
  lastProgramPath = programPath ? programPath : "";
  return 1;
}

long IsFormatCorrect32(QM_CONV_BLOCK* fileName, QM_CONV_BLOCK* /*description*/) {
  std::string data;
  return ReadFile(fileName->Data, data) && IsOurs(data) ? 1 : 0;
}

long ForeignToRtf32(QM_CONV_BLOCK* fileName, void* /*storage*/, QM_CONV_BLOCK* buffer,
                    QM_CONV_BLOCK* /*description*/, QM_CONV_BLOCK* /*subset*/, QM_CONV_OUTPUT output) {
  lastImportThread = std::this_thread::get_id();
  std::string data;
  if (!ReadFile(fileName->Data, data) || !IsOurs(data)) return kFailure;
  const std::string rtf = data.substr(std::strlen(kHeader));
  if (rtf.find("SLOWIMPORT") != std::string::npos)
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  if (rtf.find("FAILIMPORT") != std::string::npos) return kFailure;
  for (size_t done = 0; done < rtf.size();) {
    const long n = long(std::min<size_t>(size_t(kChunk), rtf.size() - done));
    if (n > buffer->Size) return kFailure;
    std::memcpy(buffer->Data, rtf.data() + done, size_t(n));
    done += size_t(n);
    if (output(n, long(done * 100 / rtf.size())) != 0) return kFailure;
  }
  return 0;
}

long RtfToForeign32(QM_CONV_BLOCK* fileName, void* /*storage*/, QM_CONV_BLOCK* buffer,
                    QM_CONV_BLOCK* /*className*/, QM_CONV_INPUT input) {
  std::string rtf;
  for (;;) {
    const long n = input(0, 0);
    if (n < 0 || n > buffer->Size) return kFailure;
    if (n == 0) break;
    rtf.append(buffer->Data, size_t(n));
  }
  std::FILE* file = std::fopen(fileName->Data, "wb");
  if (!file) return kFailure;
  const bool fail = rtf.find("FAILEXPORT") != std::string::npos;
  std::string out = kHeader + rtf;
  if (fail) out.resize(out.size() / 2);
  std::fwrite(out.data(), 1, out.size(), file);
  std::fclose(file);
  return fail ? kFailure : 0;
}

long CchFetchLpszError(long error, char* text, long size) {
  if (error != kFailure || size <= 0) return 0;
  std::snprintf(text, size_t(size), "%s", "The test converter failed.");
  return long(std::strlen(text));
}

// For the tests: the program path InitConverter32 received last, and whether the last import
// ran on the calling thread.
const char* QmTestLastProgramPath() { return lastProgramPath.c_str(); }
int QmTestImportRanOnThisThread() { return lastImportThread == std::this_thread::get_id(); }

}  // extern "C"
