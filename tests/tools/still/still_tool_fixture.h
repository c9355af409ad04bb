// The built driftglow-still run on a small catalogue in a folder of its own:
// running the tool, reading what it wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/sdl/headless_engine.h"

#ifdef DRIFTGLOW_STILL

namespace fs = std::filesystem;

// Runs the built tool; returns its exit code, its standard output and error.
// shellPrefix runs in the same shell first, to set limits for the tool.
inline int RunStill(const std::string& arguments, std::string* output = nullptr, std::string* errors = nullptr,
                    const std::string& shellPrefix = "") {
  // Named per process: the test runner starts several of these tests at once.
  const std::string suffix = std::to_string(::getpid()) + ".txt";
  const fs::path out = fs::temp_directory_path() / ("driftglow_still_test_out_" + suffix);
  const fs::path err = fs::temp_directory_path() / ("driftglow_still_test_err_" + suffix);
  const std::string command =
      shellPrefix + std::string(DRIFTGLOW_STILL) + " " + arguments + " >" + out.string() + " 2>" + err.string();
  const int status = std::system(command.c_str());
  auto read = [](const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  if (output) *output = read(out);
  if (errors) *errors = read(err);
  std::error_code ignored;
  fs::remove(out, ignored);
  fs::remove(err, ignored);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class StillTool : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("driftglow_still_test_" + std::to_string(::getpid()));
    fs::create_directories(folder_ / "pix");
    // A small catalogue: plain squares in a few colours and sizes.
    const uint32_t colours[] = {0xFFFF8040, 0xFF40FF80, 0xFF8040FF};
    for (int i = 0; i < 3; ++i) {
      HeadlessEngine engine(8 + 8 * i, 8 + 8 * i);
      ASSERT_TRUE(engine.System_Initiate());
      engine.Gfx_BeginScene(0);
      engine.Gfx_Clear(colours[i]);
      engine.Gfx_EndScene();
      ASSERT_TRUE(engine.SaveFrame((folder_ / "pix" / ("p" + std::to_string(i) + ".png")).string()));
      engine.System_Shutdown();
    }
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Data() const { return " --data " + folder_.string(); }

  fs::path folder_;
};

#endif
