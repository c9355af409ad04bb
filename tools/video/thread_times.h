// Processor time of this process split in two: the threads alive when the
// split is marked (the drawing side: the calling thread and the threads a
// graphics driver started for it) and every thread started later (the
// encoders'). Linux: reads /proc/self/task.
#pragma once

#include <cstdint>
#include <vector>

class ThreadTimes {
 public:
  // Remembers which threads are alive now.
  void Mark();
  // Starts counting from now.
  void Start();
  // Seconds of processor time since Start: of the marked threads, and of
  // all the others together (those of threads that ended included).
  void Read(double& markedSeconds, double& otherSeconds) const;

 private:
  struct Thread {
    int id;
    int64_t startNanoseconds;
  };
  std::vector<Thread> marked_;
  double processStart_ = 0;
};
