// The watching thread reads the blocked signals from a signalfd, so no
// handler runs in the middle of another thread's work, and waits for a
// second one or the end of the grace time with poll.
#include "tools/common/interrupt_watch.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "tools/common/pending_file.h"

struct InterruptWatch::Taking {
  sigset_t signals{};
  sigset_t previous{};
  int signalFd = -1;
  int wakeFd = -1;
};

InterruptWatch::InterruptWatch(std::string programName, double graceSeconds)
    : programName_(std::move(programName)),
      graceMilliseconds_(static_cast<int>(graceSeconds * 1000)),
      taking_(std::make_unique<Taking>()) {
  Taking& taking = *taking_;
  sigemptyset(&taking.signals);
  sigaddset(&taking.signals, SIGINT);
  sigaddset(&taking.signals, SIGTERM);
  sigaddset(&taking.signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &taking.signals, &taking.previous);
  taking.signalFd = signalfd(-1, &taking.signals, SFD_CLOEXEC);
  taking.wakeFd = eventfd(0, EFD_CLOEXEC);
  if (taking.signalFd >= 0 && taking.wakeFd >= 0) thread_ = std::thread([this] { Watch(); });
}

InterruptWatch::~InterruptWatch() {
  Taking& taking = *taking_;
  if (thread_.joinable()) {
    const uint64_t one = 1;
    while (::write(taking.wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  if (taking.signalFd >= 0) ::close(taking.signalFd);
  if (taking.wakeFd >= 0) ::close(taking.wakeFd);
  // A signal still pending would take its default action once unblocked
  // and end the process by the signal instead of by its exit code.
  const timespec now{};
  while (sigtimedwait(&taking.signals, nullptr, &now) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &taking.previous, nullptr);
}

void InterruptWatch::Watch() {
  const Taking& taking = *taking_;
  using Clock = std::chrono::steady_clock;
  Clock::time_point deadline;
  pollfd waits[2] = {{taking.signalFd, POLLIN, 0}, {taking.wakeFd, POLLIN, 0}};
  for (;;) {
    int timeout = -1;
    if (signal_.load()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      timeout = left > 0 ? static_cast<int>(left) : 0;
    }
    const int ready = ::poll(waits, 2, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents) return;
    if (ready == 0) EndNow("interrupted");  // the grace time is over
    if (waits[0].revents & POLLIN) {
      signalfd_siginfo info{};
      if (::read(taking.signalFd, &info, sizeof info) != sizeof info) continue;
      if (signal_.load()) EndNow("interrupted");
      deadline = Clock::now() + std::chrono::milliseconds(graceMilliseconds_);
      signal_.store(static_cast<int>(info.ssi_signo));
    }
  }
}

void InterruptWatch::Take(int signal) { ::kill(::getpid(), signal); }

void InterruptWatch::EndNow(const std::string& message) {
  // Holds the list of unfinished files until the end, so no other thread
  // starts a new one meanwhile.
  PendingFile::RemoveAllUnfinished();
  const std::string line = programName_ + ": " + message + "\n";
  (void)!::write(STDERR_FILENO, line.data(), line.size());
  _exit(128 + signal_.load());
}
