// TReadWatch: calls a handler from the message loop whenever a file descriptor has data (or a
// connection) waiting, so that nothing has to look at the descriptor on a timer.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

class TReadWatch {
public:
  // Watches `fd` (owned by the caller, open for the watch's whole life).
  TReadWatch(int fd, std::function<void()> onReadable);
  ~TReadWatch();
  TReadWatch(const TReadWatch&) = delete;
  TReadWatch& operator=(const TReadWatch&) = delete;

  // A disabled watch calls nothing; data still waiting calls the handler again once enabled.
  void SetEnabled(bool enabled);

private:
  std::unique_ptr<QSocketNotifier> notifier_;
};
