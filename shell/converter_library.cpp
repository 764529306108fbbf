#include "shell/converter_library.h"

#include <dlfcn.h>

#include "platform/files.h"

TConvBlock::TConvBlock(size_t size) : data_(size + 1, '\0') {
  block_.Data = data_.data();
  block_.Size = long(size);
}

TConvBlock::TConvBlock(TConvBlock&& other) noexcept : data_(std::move(other.data_)) {
  block_.Data = data_.data();
  block_.Size = other.block_.Size;
}

TConvBlock TConvBlock::Text(const std::string& text) {
  TConvBlock block(text.size() * 2 + 1);
  text.copy(block.Data(), text.size());
  return block;
}

TConvBlock ConverterFileName(const std::string& fileName) {
  return TConvBlock::Text(NativePath(fileName).string());
}

namespace {

template <class F>
F Entry(void* handle, const char* name) {
  return reinterpret_cast<F>(::dlsym(handle, name));
}

}  // namespace

void TConverterLibrary::Load(const std::string& path) {
  Unload();
  handle_ = ::dlopen(NativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) return;
  InitConverter = Entry<QM_INIT_CONVERTER>(handle_, "InitConverter32");
  IsFormatCorrect = Entry<QM_IS_FORMAT_CORRECT>(handle_, "IsFormatCorrect32");
  ForeignToRtf = Entry<QM_FOREIGN_TO_RTF>(handle_, "ForeignToRtf32");
  RtfToForeign = Entry<QM_RTF_TO_FOREIGN>(handle_, "RtfToForeign32");
  FetchError = Entry<QM_FETCH_ERROR>(handle_, "CchFetchLpszError");
}

void TConverterLibrary::Unload() {
  InitConverter = nullptr;
  IsFormatCorrect = nullptr;
  ForeignToRtf = nullptr;
  RtfToForeign = nullptr;
  FetchError = nullptr;
  if (handle_) ::dlclose(handle_);
  handle_ = nullptr;
}
