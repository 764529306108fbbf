// The one background thread of the process that builds the position caches of data trees.
// Trees queue themselves; the thread drains the queue; a tree interrupts it (and waits until
// the thread has left the tree) before it changes its structure.
#pragma once

#include <atomic>

// What the worker builds: a tree's position cache.
class TCacheBuilder {
public:
  virtual ~TCacheBuilder() = default;
  // Runs on the worker thread; stops early once `stop` is set.
  virtual void BuildCache(const std::atomic<bool>& stop) = 0;
};

// Every tree takes one reference while it exists; the first starts the thread.
void AddThreadReference();
// Withdraws the tree from the worker; the last release ends and joins the thread.
void ReleaseThreadReference(TCacheBuilder* tree);
// Queues the tree (once) and wakes the worker.
void QueueValidation(TCacheBuilder* tree);
// Takes the tree off the queue; when the worker is building it, asks it to stop and waits.
void InterruptValidation(TCacheBuilder* tree);
// Waits until the tree is neither queued nor being built.
void WaitForValidation(TCacheBuilder* tree);
// Whether the worker thread exists; how many trees wait in its queue.
bool WorkerThreadRunning();
int WorkerQueueLength();
