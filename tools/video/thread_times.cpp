// Per-thread processor time from /proc/self/task/<id>/schedstat, whose first
// field is the nanoseconds the thread has run; the whole process's time from
// its processor-time clock.
#include "tools/video/thread_times.h"

#include <dirent.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Nanoseconds thread id has run; -1 once it has ended.
int64_t threadNanoseconds(int id) {
  const std::string path = "/proc/self/task/" + std::to_string(id) + "/schedstat";
  FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return -1;
  long long nanoseconds = -1;
  if (std::fscanf(file, "%lld", &nanoseconds) != 1) nanoseconds = -1;
  std::fclose(file);
  return nanoseconds;
}

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

void ThreadTimes::Mark() {
  marked_.clear();
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return;
  while (const dirent* entry = readdir(tasks)) {
    const int id = std::atoi(entry->d_name);
    if (id > 0) marked_.push_back({id, 0});
  }
  closedir(tasks);
}

void ThreadTimes::Start() {
  for (Thread& thread : marked_) thread.startNanoseconds = threadNanoseconds(thread.id);
  processStart_ = processSeconds();
}

void ThreadTimes::Read(double& markedSeconds, double& otherSeconds) const {
  int64_t nanoseconds = 0;
  for (const Thread& thread : marked_) {
    const int64_t now = threadNanoseconds(thread.id);
    if (now >= 0 && thread.startNanoseconds >= 0) nanoseconds += now - thread.startNanoseconds;
  }
  markedSeconds = static_cast<double>(nanoseconds) * 1e-9;
  otherSeconds = processSeconds() - processStart_ - markedSeconds;
  if (otherSeconds < 0) otherSeconds = 0;
}
