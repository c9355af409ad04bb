// The pool and the two waiting lists of FramePipeline under one lock.
#include "tools/video/frame_pipeline.h"

#include <algorithm>

FramePipeline::FramePipeline(size_t frameBytes, int buffers) {
  const int count = std::max(buffers, 2);
  storage_.resize(static_cast<size_t>(count));
  for (auto& buffer : storage_) {
    buffer.resize(frameBytes);
    free_.push_back(buffer.data());
  }
  filled_.assign(storage_.size(), nullptr);
}

uint8_t* FramePipeline::AcquireFree() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopped_ || !free_.empty(); });
  if (stopped_) return nullptr;
  uint8_t* buffer = free_.back();
  free_.pop_back();
  return buffer;
}

void FramePipeline::Submit(uint8_t* buffer) {
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || !buffer || filledCount_ == filled_.size()) return;
    filled_[(filledHead_ + filledCount_) % filled_.size()] = buffer;
    ++filledCount_;
  }
  changed_.notify_all();
}

void FramePipeline::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

uint8_t* FramePipeline::TakeFilled() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopped_ || filledCount_ > 0 || closed_; });
  if (stopped_ || filledCount_ == 0) return nullptr;
  uint8_t* buffer = filled_[filledHead_];
  filledHead_ = (filledHead_ + 1) % filled_.size();
  --filledCount_;
  return buffer;
}

void FramePipeline::Release(uint8_t* buffer) {
  {
    std::lock_guard lock(mutex_);
    if (buffer && free_.size() < storage_.size()) free_.push_back(buffer);
  }
  changed_.notify_all();
}

void FramePipeline::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

bool FramePipeline::Stopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}
