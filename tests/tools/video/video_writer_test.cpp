// VideoWriter given up before its first frame, for every container: closing
// an AV1 encoder that never had a picture used to wait for ever.
#include "tools/video/video_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/video/video_format.h"

namespace fs = std::filesystem;

namespace {

// In a child, so a hang ends with the alarm instead of stopping the suite.
// Exit 0: opened, given up (or refused to finish) and closed, nothing left.
[[noreturn]] void openAndGiveUp(const fs::path& path, bool finish) {
  alarm(60);
  quietVideoLibraries();
  {
    VideoWriter writer;
    std::string error;
    if (!writer.Open(path.string(), *videoFormatForPath(path.string()), 64, 64, 50, nullptr, error)) std::_Exit(2);
    if (finish && writer.Finish(error)) std::_Exit(3);
  }
  std::_Exit(fs::is_empty(path.parent_path()) ? 0 : 4);
}

TEST(VideoWriter, AClipGivenUpBeforeItsFirstFrameClosesAndLeavesNothing) {
  const fs::path folder = fs::temp_directory_path() / ("driftglow_video_writer_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (const char* name : {"clip.webm", "clip.mkv", "clip.mp4"}) {
    EXPECT_EXIT(openAndGiveUp(folder / name, false), ::testing::ExitedWithCode(0), "") << name;
    EXPECT_EXIT(openAndGiveUp(folder / name, true), ::testing::ExitedWithCode(0), "") << name << ", finished";
  }
  fs::remove_all(folder);
}

}  // namespace
