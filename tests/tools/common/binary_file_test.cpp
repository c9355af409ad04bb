// The content tools' file writer on a full disk (a file size limit stands in
// for it): a failure is reported and nothing is left under either name.
#include "tools/common/binary_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// In a child process: the limit applies to the whole process.
[[noreturn]] void writeBeyondTheLimit(const fs::path& folder) {
  std::signal(SIGXFSZ, SIG_IGN);  // the failing write then reports EFBIG
  const rlimit limit{4096, 4096};
  setrlimit(RLIMIT_FSIZE, &limit);
  const fs::path target = folder / "big.bin";
  const bool written = tools::WriteBinaryFile(target.string(), std::vector<uint8_t>(100000, 7));
  const bool small = tools::WriteBinaryFile((folder / "small.bin").string(), std::vector<uint8_t>(100, 7));
  std::exit((written ? 1 : 0) | (fs::exists(target) ? 2 : 0) | (fs::exists(target.string() + ".part") ? 4 : 0) |
            (small ? 0 : 8));
}

TEST(BinaryFile, AFailedWriteLeavesNoFileAndSaysSo) {
  const fs::path folder = fs::temp_directory_path() / ("driftglow_binary_file_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  EXPECT_EXIT(writeBeyondTheLimit(folder), ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(tools::WriteBinaryFile("/dev/full", std::vector<uint8_t>(10, 1)));
  EXPECT_TRUE(tools::WriteBinaryFile("/dev/null", std::vector<uint8_t>(10, 1)));
  fs::remove_all(folder);
}

}  // namespace
