// Windows has no SIGINT/SIGTERM/SIGHUP to block: the console's control
// events take their place. The system calls the handler on a thread of its
// own, which waits out the grace time there (a close event ends the process
// when the handler returns anyway).
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "tools/common/interrupt_watch.h"
#include "tools/common/pending_file.h"

struct InterruptWatch::Taking {
  HANDLE stop = nullptr;  // set when the watch ends, so a waiting handler returns
};

namespace {

// The console handler has no context argument; one watch at a time.
std::mutex watchMutex;
InterruptWatch* currentWatch = nullptr;

BOOL WINAPI takeControlEvent(DWORD event) {
  std::lock_guard lock(watchMutex);
  if (!currentWatch) return FALSE;
  currentWatch->Take(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch(std::string programName, double graceSeconds)
    : programName_(std::move(programName)),
      graceMilliseconds_(static_cast<int>(graceSeconds * 1000)),
      taking_(std::make_unique<Taking>()) {
  taking_->stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::lock_guard lock(watchMutex);
  currentWatch = this;
  ::SetConsoleCtrlHandler(takeControlEvent, TRUE);
}

InterruptWatch::~InterruptWatch() {
  {
    std::lock_guard lock(watchMutex);
    currentWatch = nullptr;
  }
  ::SetConsoleCtrlHandler(takeControlEvent, FALSE);
  if (taking_->stop) {
    ::SetEvent(taking_->stop);
    if (thread_.joinable()) thread_.join();
    ::CloseHandle(taking_->stop);
  }
}

void InterruptWatch::Take(int signal) {
  if (signal_.load()) EndNow("interrupted");
  signal_.store(signal);
  // The grace time runs on a thread of this watch, so the handler returns.
  if (!thread_.joinable()) thread_ = std::thread([this] { Watch(); });
}

void InterruptWatch::Watch() {
  if (::WaitForSingleObject(taking_->stop, static_cast<DWORD>(graceMilliseconds_)) == WAIT_TIMEOUT)
    EndNow("interrupted");
}

void InterruptWatch::EndNow(const std::string& message) {
  PendingFile::RemoveAllUnfinished();
  std::fprintf(stderr, "%s: %s\n", programName_.c_str(), message.c_str());
  std::fflush(stderr);
  std::_Exit(128 + signal_.load());
}
