#include "shell/import_thread.h"

#include <algorithm>

#include "shell/converter_library.h"

namespace {

// The import running on this thread: the output callback has no context argument.
thread_local TImportThread* currentImport = nullptr;

// The first RTF reservation; the string grows as chunks arrive.
constexpr size_t kInitialRtfSize = 0x80000;

}  // namespace

TImportThread::TImportThread(std::string fileName, QM_FOREIGN_TO_RTF foreignToRtf,
                             QM_FETCH_ERROR fetchError)
    : fileName_(std::move(fileName)), foreignToRtf_(foreignToRtf), fetchError_(fetchError) {}

TImportThread::~TImportThread() {
  if (thread_.joinable()) thread_.join();
}

void TImportThread::Resume() {
  if (!thread_.joinable() && !Done()) thread_ = std::thread(&TImportThread::Execute, this);
}

bool TImportThread::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  finished_.wait_for(lock, timeout, [this] { return Done(); });
  return Done();
}

long TImportThread::Output(long cch, long percent) {
  TImportThread* self = currentImport;
  if (!self || cch < 0 || cch > QM_CONV_BUFFER_SIZE) return 1;  // stop: nothing sane to take
  if (self->stop_.load(std::memory_order_relaxed)) return 1;
  self->rtf_.append(self->buffer_, size_t(cch));
  self->percent_.store(int(std::clamp(percent, 0L, 100L)), std::memory_order_relaxed);
  return 0;
}

void TImportThread::Execute() {
  rtf_.clear();
  rtf_.reserve(kInitialRtfSize);
  errorText_.clear();
  result_ = -2;
  if (foreignToRtf_) {
    TConvBlock file = ConverterFileName(fileName_);
    TConvBlock buffer(QM_CONV_BUFFER_SIZE);
    TConvBlock description = TConvBlock::Text({});
    TConvBlock subset = TConvBlock::Text({});
    buffer_ = buffer.Data();
    currentImport = this;
    const long error = foreignToRtf_(file.Get(), nullptr, buffer.Get(), description.Get(),
                                     subset.Get(), &TImportThread::Output);
    currentImport = nullptr;
    buffer_ = nullptr;
    if (error == 0) {
      result_ = 1;
    } else if (fetchError_) {
      char text[256] = {};
      const long length = fetchError_(error, text, 254);
      if (length > 0) errorText_.assign(text, size_t(std::min<long>(length, 254)));
    }
  }
  if (result_ != 1) rtf_.clear();
  {
    std::lock_guard lock(mutex_);
    done_.store(true, std::memory_order_release);
  }
  finished_.notify_all();
}
