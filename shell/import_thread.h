// TImportThread: runs a text converter's import (foreign file to RTF) on a worker thread while
// the interface thread waits and handles messages. The thread only collects the RTF; it never
// touches a control: the interface thread loads the result once the thread is done.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "shell/converter_api.h"

class TImportThread {
public:
  // Created suspended: nothing runs before Resume.
  TImportThread(std::string fileName, QM_FOREIGN_TO_RTF foreignToRtf, QM_FETCH_ERROR fetchError);
  // Waits for a running thread to end.
  ~TImportThread();
  TImportThread(const TImportThread&) = delete;
  TImportThread& operator=(const TImportThread&) = delete;

  void Resume();
  // True once the import has ended; Result, Rtf and ErrorText are valid from then on.
  bool Done() const { return done_.load(std::memory_order_acquire); }
  // Waits at most `timeout` for the import to end; answers Done.
  bool WaitFor(std::chrono::milliseconds timeout);

  // 1 success, -2 converter error (a missing entry point counts as one).
  int Result() const { return result_; }
  // The RTF the converter delivered (complete only on success).
  const std::string& Rtf() const { return rtf_; }
  // The converter's text for its error code, when it gives one.
  const std::string& ErrorText() const { return errorText_; }
  // How far the converter says it is (0 to 100).
  int Percent() const { return percent_.load(std::memory_order_relaxed); }
  // Asks the converter to stop at its next chunk (the import then fails).
  void Stop() { stop_.store(true, std::memory_order_relaxed); }

private:
  void Execute();
  static long Output(long cch, long percent);

  std::string fileName_;
  QM_FOREIGN_TO_RTF foreignToRtf_;
  QM_FETCH_ERROR fetchError_;
  int result_ = -2;
  std::string rtf_, errorText_;
  char* buffer_ = nullptr;  // the transfer buffer while the converter runs

  std::thread thread_;
  std::atomic<bool> done_{false}, stop_{false};
  std::atomic<int> percent_{0};
  std::mutex mutex_;
  std::condition_variable finished_;
};
