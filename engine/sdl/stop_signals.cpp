// Signal handlers that only set flags, or end the process with _exit where
// nothing else can react.
#include "engine/sdl/stop_signals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Written by the handlers, so plain flags of the one type that is safe there.
// They describe the process, not any one object, hence file-wide.
volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t resumed = 0;
volatile sig_atomic_t waitingUninterruptibly = 0;
pid_t waitingProcess = 0;

void onStop(int) {
  if (stopRequested || waitingUninterruptibly) _exit(0);
  stopRequested = 1;
}

void onContinue(int) { resumed = 1; }

// SDL shows its X11 message box from a child process that it forks and
// waits for. A child forked during the wait ends with the waiting process,
// so that no box stays on the screen once the program has ended.
void onForkChild() {
  if (!waitingUninterruptibly) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != waitingProcess) _exit(0);  // the parent ended before that took hold
}

void install(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallStopSignals() {
  static const bool forkWatched = pthread_atfork(nullptr, nullptr, onForkChild) == 0;
  (void)forkWatched;
  install(SIGTERM, onStop);
  install(SIGINT, onStop);
  // A closed terminal or a session's end asks for the same clean stop.
  install(SIGHUP, onStop);
  install(SIGCONT, onContinue);
}

bool StopRequested() { return stopRequested != 0; }

bool TakeResumed() {
  if (!resumed) return false;
  resumed = 0;
  return true;
}

UninterruptibleWait::UninterruptibleWait() {
  // In this order: a signal between the two lines still ends the process.
  waitingProcess = getpid();
  waitingUninterruptibly = 1;
  if (stopRequested) _exit(0);
}

UninterruptibleWait::~UninterruptibleWait() { waitingUninterruptibly = 0; }
