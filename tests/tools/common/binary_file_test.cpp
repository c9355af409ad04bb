// The content tools' file writer on a full disk (a file size limit stands in
// for it): a failure is reported with its reason and nothing is left under
// either name; a link planted at the temporary name is never written through.
#include "tools/common/binary_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The names in folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// In a child process: the limit applies to the whole process. SIGXFSZ keeps
// its default action, which the writer itself must set aside.
[[noreturn]] void writeBeyondTheLimit(const fs::path& folder) {
  const rlimit limit{4096, 4096};
  setrlimit(RLIMIT_FSIZE, &limit);
  std::string error;
  const bool written = tools::WriteBinaryFile((folder / "big.bin").string(), std::vector<uint8_t>(100000, 7), error);
  const bool small = tools::WriteBinaryFile((folder / "small.bin").string(), std::vector<uint8_t>(100, 7));
  std::exit((written ? 1 : 0) | (Names(folder) == std::vector<std::string>{"small.bin"} ? 0 : 2) |
            (error.find("File too large") != std::string::npos ? 0 : 4) | (small ? 0 : 8));
}

class BinaryFile : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_ = fs::temp_directory_path() / ("driftglow_binary_file_" + std::to_string(::getpid()));
};

TEST_F(BinaryFile, AFailedWriteLeavesNoFileAndSaysWhy) {
  EXPECT_EXIT(writeBeyondTheLimit(folder_), ::testing::ExitedWithCode(0), "");
  std::string error;
  EXPECT_FALSE(tools::WriteBinaryFile("/dev/full", std::vector<uint8_t>(10, 1), error));
  EXPECT_EQ(error, "can't write '/dev/full': No space left on device");
  EXPECT_TRUE(tools::WriteBinaryFile("/dev/null", std::vector<uint8_t>(10, 1)));
  const fs::path missing = folder_ / "missing" / "a.bin";
  EXPECT_FALSE(tools::WriteBinaryFile(missing.string(), {1}, error));
  EXPECT_EQ(error, "can't write '" + missing.string() + "': No such file or directory");
  EXPECT_FALSE(fs::exists(folder_ / "missing")) << "a missing folder is not made";
}

TEST_F(BinaryFile, ALinkPlantedAtTheTemporaryNameIsNeverFollowed) {
  const fs::path victim = folder_ / "victim.txt";
  std::ofstream(victim) << "keep";
  const std::string out = (folder_ / "out.png").string();
  // The names a writer of this process would try first.
  for (const std::string& name : {out + ".part", out + "." + std::to_string(::getpid()) + ".part"})
    fs::create_symlink(victim, name);
  std::string error;
  ASSERT_TRUE(tools::WriteTextFile(out, "new", error)) << error;
  EXPECT_EQ(ReadAll(victim), "keep");
  EXPECT_EQ(ReadAll(out), "new");
  EXPECT_TRUE(fs::is_symlink(out + ".part"));
  EXPECT_EQ(Names(folder_).size(), 4u) << "the output, the victim and both links; no temporary file";
}

}  // namespace
