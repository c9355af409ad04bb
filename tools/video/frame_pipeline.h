// Frame buffers handed from a drawing thread to an encoding thread: a fixed
// pool, so nothing is allocated per frame and drawing runs at most a few
// frames ahead of encoding. Standard library only.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class FramePipeline {
 public:
  // buffers of frameBytes each (at least two, so both sides can work at once).
  FramePipeline(size_t frameBytes, int buffers);

  // Drawing side: a buffer to fill, waiting until one is free; null once
  // the pipeline is stopped.
  uint8_t* AcquireFree();
  // Hands a filled buffer to the encoding side, in drawing order.
  void Submit(uint8_t* buffer);
  // No more frames will come; the encoding side drains what is queued.
  void Close();

  // Encoding side: the next filled buffer, waiting for it; null once the
  // drawing side closed and everything was taken, or once stopped.
  uint8_t* TakeFilled();
  // Gives a buffer back to the pool after encoding it.
  void Release(uint8_t* buffer);

  // Either side: ends the work now; every wait returns null.
  void Stop();
  bool Stopped() const;

 private:
  std::vector<std::vector<uint8_t>> storage_;
  // Both lists never hold more than the pool, so they never grow after the
  // constructor; filled_ is a ring in submission order.
  std::vector<uint8_t*> free_;
  std::vector<uint8_t*> filled_;
  size_t filledHead_ = 0;
  size_t filledCount_ = 0;
  bool closed_ = false;
  bool stopped_ = false;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
};
