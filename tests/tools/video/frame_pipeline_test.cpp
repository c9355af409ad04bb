// The hand-off between the drawing and the encoding thread: frames arrive
// in order through a small pool, and stopping releases a waiting side.
#include "tools/video/frame_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

namespace {

TEST(FramePipeline, DeliversEveryFrameInOrderThroughThePool) {
  FramePipeline pipeline(sizeof(int), 3);
  std::vector<int> received;
  std::vector<const uint8_t*> buffers;
  std::thread encoder([&] {
    while (uint8_t* buffer = pipeline.TakeFilled()) {
      int value = 0;
      std::memcpy(&value, buffer, sizeof value);
      received.push_back(value);
      buffers.push_back(buffer);
      pipeline.Release(buffer);
    }
  });
  for (int frame = 0; frame < 1000; ++frame) {
    uint8_t* buffer = pipeline.AcquireFree();
    ASSERT_NE(buffer, nullptr);
    std::memcpy(buffer, &frame, sizeof frame);
    pipeline.Submit(buffer);
  }
  pipeline.Close();
  encoder.join();
  ASSERT_EQ(received.size(), 1000u);
  for (int frame = 0; frame < 1000; ++frame) ASSERT_EQ(received[frame], frame);
  std::sort(buffers.begin(), buffers.end());
  EXPECT_EQ(std::unique(buffers.begin(), buffers.end()) - buffers.begin(), 3) << "the pool's buffers, reused";
}

TEST(FramePipeline, StoppingReleasesBothSides) {
  FramePipeline pipeline(16, 2);
  // The drawing side holds every buffer and waits for another.
  ASSERT_NE(pipeline.AcquireFree(), nullptr);
  ASSERT_NE(pipeline.AcquireFree(), nullptr);
  uint8_t* waitedFor = reinterpret_cast<uint8_t*>(1);
  std::thread drawer([&] { waitedFor = pipeline.AcquireFree(); });
  uint8_t* taken = reinterpret_cast<uint8_t*>(1);
  std::thread encoder([&] { taken = pipeline.TakeFilled(); });
  pipeline.Stop();
  drawer.join();
  encoder.join();
  EXPECT_EQ(waitedFor, nullptr);
  EXPECT_EQ(taken, nullptr);
  EXPECT_TRUE(pipeline.Stopped());
}

}  // namespace
