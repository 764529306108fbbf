#include "components/data_tree_worker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct TWorker {
  std::mutex lock;
  std::condition_variable wake;      // work arrived or the thread must end
  std::condition_variable left;      // the worker finished a tree
  std::deque<TCacheBuilder*> queue;
  TCacheBuilder* current = nullptr;  // guarded by `lock`
  std::atomic<bool> stop{false};     // asks the current build to give up
  bool terminated = false;
  int references = 0;
  std::thread thread;

  void Run() {
    std::unique_lock guard(lock);
    for (;;) {
      wake.wait(guard, [&] { return terminated || !queue.empty(); });
      if (terminated) return;
      // Drain: every queued tree is taken in turn before the thread sleeps again.
      current = queue.front();
      queue.pop_front();
      stop.store(false);
      TCacheBuilder* tree = current;
      guard.unlock();
      tree->BuildCache(stop);
      guard.lock();
      current = nullptr;
      left.notify_all();
    }
  }
};

TWorker& Worker() {
  static TWorker worker;
  return worker;
}

void Withdraw(TWorker& w, std::unique_lock<std::mutex>& guard, TCacheBuilder* tree) {
  w.queue.erase(std::remove(w.queue.begin(), w.queue.end(), tree), w.queue.end());
  if (w.current == tree) {
    w.stop.store(true);
    w.left.wait(guard, [&] { return w.current != tree; });
  }
}

}  // namespace

void AddThreadReference() {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  if (w.references++ == 0) {
    w.terminated = false;
    w.thread = std::thread([&w] { w.Run(); });
  }
}

void ReleaseThreadReference(TCacheBuilder* tree) {
  TWorker& w = Worker();
  std::thread ending;
  {
    std::unique_lock guard(w.lock);
    Withdraw(w, guard, tree);
    if (w.references == 0 || --w.references > 0) return;
    w.terminated = true;
    w.wake.notify_all();
    ending = std::move(w.thread);
  }
  if (ending.joinable()) ending.join();
}

void QueueValidation(TCacheBuilder* tree) {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  if (std::find(w.queue.begin(), w.queue.end(), tree) == w.queue.end()) w.queue.push_back(tree);
  w.wake.notify_one();
}

void InterruptValidation(TCacheBuilder* tree) {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  Withdraw(w, guard, tree);
}

void WaitForValidation(TCacheBuilder* tree) {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  w.left.wait(guard, [&] {
    return w.current != tree && std::find(w.queue.begin(), w.queue.end(), tree) == w.queue.end();
  });
}

bool WorkerThreadRunning() {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  return w.thread.joinable();
}

int WorkerQueueLength() {
  TWorker& w = Worker();
  std::unique_lock guard(w.lock);
  return int(w.queue.size());
}
