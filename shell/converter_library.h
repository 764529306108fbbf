// One loaded text converter library with its five entry points, and the memory blocks that
// carry file names and RTF across the converter interface (converter_api.h).
#pragma once

#include <string>
#include <vector>

#include "shell/converter_api.h"

// A QM_CONV_BLOCK with its own zero-initialised memory (one byte more than its usable size).
class TConvBlock {
public:
  explicit TConvBlock(size_t size);
  // A block holding `text`, zero-terminated, in (length x 2 + 2) bytes.
  static TConvBlock Text(const std::string& text);
  TConvBlock(const TConvBlock&) = delete;
  TConvBlock& operator=(const TConvBlock&) = delete;
  TConvBlock(TConvBlock&& other) noexcept;

  QM_CONV_BLOCK* Get() { return &block_; }
  char* Data() { return data_.data(); }

private:
  std::vector<char> data_;
  QM_CONV_BLOCK block_{};
};

// The file name block of a converter call: the file's native path.
TConvBlock ConverterFileName(const std::string& fileName);

class TConverterLibrary {
public:
  TConverterLibrary() = default;
  ~TConverterLibrary() { Unload(); }
  TConverterLibrary(const TConverterLibrary&) = delete;
  TConverterLibrary& operator=(const TConverterLibrary&) = delete;

  // Unloads the library loaded before, then loads `path` and looks up the entry points;
  // entry points the library lacks are null, and all are null when it cannot be loaded.
  void Load(const std::string& path);
  void Unload();

  QM_INIT_CONVERTER InitConverter = nullptr;       // "InitConverter32"
  QM_IS_FORMAT_CORRECT IsFormatCorrect = nullptr;  // "IsFormatCorrect32"
  QM_FOREIGN_TO_RTF ForeignToRtf = nullptr;        // "ForeignToRtf32"
  QM_RTF_TO_FOREIGN RtfToForeign = nullptr;        // "RtfToForeign32"
  QM_FETCH_ERROR FetchError = nullptr;             // "CchFetchLpszError"

private:
  void* handle_ = nullptr;
};
