// SIGINT, SIGTERM and SIGHUP as a request to stop, taken by a thread of
// their own: the program notices the request between steps and ends there,
// and a program that does not stop in time, or gets a second signal, is
// ended at once. Either way its unfinished files are removed. On Windows the
// console's Ctrl+C, Ctrl+Break and close events stand for the signals. One
// file per system: interrupt_watch_posix.cpp, interrupt_watch_win32.cpp.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class InterruptWatch {
 public:
  // Blocks the three signals in this thread, and so in every thread started
  // after it, and starts the thread that takes them: make it first thing in
  // main, before any other thread exists. After the first signal the program
  // has graceSeconds to return; past that, or at a second signal, every
  // unfinished PendingFile is removed, "programName: interrupted" is written
  // and the process ends with exit code 128 + the first signal.
  InterruptWatch(std::string programName, double graceSeconds);
  // Ends the watching thread and unblocks the signals again.
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // The first signal that arrived; 0 while none has.
  int Signal() const { return signal_.load(); }
  // Removes every unfinished PendingFile, writes "programName: message" and
  // ends the process with 128 + the first signal, without the rest of the
  // clean-up: nothing of an interrupted run is worth finishing.
  [[noreturn]] void EndNow(const std::string& message);
  // Takes a stop request as if signal had arrived; how the system's own
  // stop events reach the watch.
  void Take(int signal);

 private:
  // What the system needs to take the signals (descriptors, masks).
  struct Taking;

  void Watch();

  std::string programName_;
  int graceMilliseconds_;
  std::unique_ptr<Taking> taking_;
  std::atomic<int> signal_{0};
  std::thread thread_;
};
