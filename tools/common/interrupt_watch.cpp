// The watching thread reads the blocked signals from a signalfd, so no
// handler runs in the middle of another thread's work, and waits for a
// second one or the end of the grace time with poll.
#include "tools/common/interrupt_watch.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "tools/common/pending_file.h"

InterruptWatch::InterruptWatch(std::string programName, double graceSeconds)
    : programName_(std::move(programName)), graceMilliseconds_(static_cast<int>(graceSeconds * 1000)) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  signalFd_ = signalfd(-1, &signals_, SFD_CLOEXEC);
  wakeFd_ = eventfd(0, EFD_CLOEXEC);
  if (signalFd_ >= 0 && wakeFd_ >= 0) thread_ = std::thread([this] { Watch(); });
}

InterruptWatch::~InterruptWatch() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  if (signalFd_ >= 0) ::close(signalFd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
  // A signal still pending would take its default action once unblocked
  // and end the process by the signal instead of by its exit code.
  const timespec now{};
  while (sigtimedwait(&signals_, nullptr, &now) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void InterruptWatch::Watch() {
  using Clock = std::chrono::steady_clock;
  Clock::time_point deadline;
  pollfd waits[2] = {{signalFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
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
      if (::read(signalFd_, &info, sizeof info) != sizeof info) continue;
      if (signal_.load()) EndNow("interrupted");
      deadline = Clock::now() + std::chrono::milliseconds(graceMilliseconds_);
      signal_.store(static_cast<int>(info.ssi_signo));
    }
  }
}

void InterruptWatch::EndNow(const std::string& message) {
  // Holds the list of unfinished files until the end, so no other thread
  // starts a new one meanwhile.
  PendingFile::RemoveAllUnfinished();
  const std::string line = programName_ + ": " + message + "\n";
  (void)!::write(STDERR_FILENO, line.data(), line.size());
  _exit(128 + signal_.load());
}
