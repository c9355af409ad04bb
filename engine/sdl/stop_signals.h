// Ending the program on SIGTERM, SIGINT or SIGHUP, whatever it is doing: the frame
// loop ends at its next frame and the program shuts down as after X; while
// something that cannot be interrupted waits for the user (a message box),
// the process ends at once. Either way the exit code is 0.
#pragma once

// Installs the handlers for SIGTERM, SIGINT and SIGHUP (and SIGCONT, see
// TakeResumed). Call once, early in main, before SDL is initialised, so that
// SDL leaves them in place.
void InstallStopSignals();

// True once SIGTERM, SIGINT or SIGHUP has arrived. A second signal after that ends
// the process at once.
bool StopRequested();

// True once after the process was continued (SIGCONT) following a stop: the
// time since the last frame was not the program's doing.
bool TakeResumed();

// While one exists, SIGTERM, SIGINT and SIGHUP end the process at once with exit
// code 0 (also when one arrived before it was made), and so do processes
// forked meanwhile (SDL shows its message boxes from one).
class UninterruptibleWait {
 public:
  UninterruptibleWait();
  ~UninterruptibleWait();
  UninterruptibleWait(const UninterruptibleWait&) = delete;
  UninterruptibleWait& operator=(const UninterruptibleWait&) = delete;
};
