// Tests of ListDirectory: patterns, case, order and missing folders.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "engine/platform.h"

namespace {

namespace fs = std::filesystem;

class DirectoryListing : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("driftglow_listing_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "pix" / "folder.png");
    for (const char* name : {"b.png", "A.png", "c.PNG", "a.txt", "Zeta.png", "alpha.png"})
      std::ofstream(root_ / "pix" / name) << "x";
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(DirectoryListing, MatchesCaseInsensitivelyAndSortsByNameIgnoringCase) {
  auto entries = ListDirectory((root_ / "pix").string() + "\\*.png");
  std::vector<std::string> names;
  for (auto& e : entries) names.push_back(e.name + (e.isDirectory ? "/" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"A.png", "alpha.png", "b.png", "c.PNG", "folder.png/", "Zeta.png"}));
}

TEST_F(DirectoryListing, QuestionMarkAndMissingFolder) {
  auto entries = ListDirectory((root_ / "pix").string() + "/?.png");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "A.png");
  EXPECT_EQ(entries[2].name, "c.PNG");
  EXPECT_TRUE(ListDirectory((root_ / "nothing").string() + "\\*.png").empty());
}

}  // namespace
