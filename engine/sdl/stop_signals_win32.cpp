// Ending the program on Ctrl+C, Ctrl+Break or the console being closed
// (Windows): the console's control handler runs on a thread of its own,
// so it only sets a flag, or ends the process where nothing else can react.
#include <windows.h>

#include <atomic>

#include "engine/sdl/stop_signals.h"

namespace {

// They describe the process, not any one object, hence file-wide.
std::atomic<bool> stopRequested{false};
std::atomic<bool> waitingUninterruptibly{false};

BOOL WINAPI onControl(DWORD) {
  if (stopRequested.exchange(true) || waitingUninterruptibly) ExitProcess(0);
  return TRUE;
}

}  // namespace

void InstallStopSignals() { SetConsoleCtrlHandler(onControl, TRUE); }

bool StopRequested() { return stopRequested; }

// Windows does not stop and continue processes the way SIGSTOP does.
bool TakeResumed() { return false; }

UninterruptibleWait::UninterruptibleWait() {
  waitingUninterruptibly = true;
  if (stopRequested) ExitProcess(0);
}

UninterruptibleWait::~UninterruptibleWait() { waitingUninterruptibly = false; }
