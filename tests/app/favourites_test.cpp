// The favourites file: a round trip, duplicates, damaged lines and the
// failures that must leave the earlier favourites as they were.
#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>

#include "app/favourites.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;

class FavouritesFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("driftglow-favourites");
    path_ = (folder_ / "driftglow" / "favourites").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  static void write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  // Nothing but the file itself in its folder: no temporary left over.
  long filesInFolder() const {
    return std::distance(fs::directory_iterator(fs::path(path_).parent_path()), fs::directory_iterator());
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(FavouritesFile, KeepsEachScreenOnceAndReadsThemBack) {
  std::string error;
  Favourites favourites;
  ASSERT_TRUE(readFavourites(path_, favourites, error)) << "a missing file is an empty list";
  EXPECT_TRUE(favourites.screens.empty());
  EXPECT_EQ(keepFavourite(path_, {12, 34, 56}, "2026-12-08", error), KeepResult::Kept) << error;
  EXPECT_EQ(keepFavourite(path_, {7, 8, 9}, "2026-12-09", error), KeepResult::Kept) << error;
  EXPECT_EQ(keepFavourite(path_, {12, 34, 56}, "2026-12-10", error), KeepResult::AlreadyKept);
  EXPECT_EQ(read(path_), "12,34,56 2026-12-08\n7,8,9 2026-12-09\n");
  EXPECT_EQ(filesInFolder(), 1);
  ASSERT_TRUE(readFavourites(path_, favourites, error)) << error;
  EXPECT_EQ(favourites.screens, (std::vector<SeedTriple>{{12, 34, 56}, {7, 8, 9}}));
  EXPECT_TRUE(favourites.warnings.empty());
}

TEST_F(FavouritesFile, DamagedLinesAreSkippedWithAWarningAndKeptWhenWriting) {
  const std::string damaged = "# mine\n1,2,3 2026-01-01\ngarbage\n\n0,2,3\n4,5 x\n\xff\xfe\n1,2,3 again\n5,6,7";
  write(path_, damaged);
  std::string error;
  Favourites favourites;
  ASSERT_TRUE(readFavourites(path_, favourites, error));
  EXPECT_EQ(favourites.screens, (std::vector<SeedTriple>{{1, 2, 3}, {5, 6, 7}}));
  ASSERT_EQ(favourites.warnings.size(), 4u);
  EXPECT_NE(favourites.warnings[0].find("line 3"), std::string::npos) << favourites.warnings[0];

  EXPECT_EQ(keepFavourite(path_, {8, 8, 8}, "2026-12-08", error), KeepResult::Kept) << error;
  EXPECT_EQ(read(path_), damaged + "\n8,8,8 2026-12-08\n");

#ifndef _WIN32
  // Kept through a link, the file is written where it lives and stays linked.
  const std::string link = (folder_ / "link").string();
  fs::create_symlink(path_, link);
  EXPECT_EQ(keepFavourite(link, {9, 9, 9}, "d", error), KeepResult::Kept) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read(path_), damaged + "\n8,8,8 2026-12-08\n9,9,9 d\n");
#endif
}

TEST_F(FavouritesFile, FailuresChangeNothing) {
  std::string error;
  // A folder where the file should be.
  fs::create_directories(path_);
  Favourites favourites;
  EXPECT_FALSE(readFavourites(path_, favourites, error));
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
  EXPECT_EQ(keepFavourite(path_, {1, 2, 3}, "d", error), KeepResult::Failed);
  EXPECT_TRUE(fs::is_directory(path_));
  fs::remove(path_);

  // Too large to read: refused, left exactly as it was.
  const std::string huge(kFavouritesLargestFile + 1, '#');
  write(path_, huge);
  EXPECT_FALSE(readFavourites(path_, favourites, error));
  EXPECT_NE(error.find("MB"), std::string::npos) << error;
  EXPECT_EQ(keepFavourite(path_, {1, 2, 3}, "d", error), KeepResult::Failed);
  EXPECT_EQ(fs::file_size(path_), huge.size());
  EXPECT_EQ(filesInFolder(), 1);

#ifndef _WIN32
  // A pipe in its place is refused at once, never waited on.
  fs::remove(path_);
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  EXPECT_FALSE(readFavourites(path_, favourites, error));
  EXPECT_EQ(keepFavourite(path_, {1, 2, 3}, "d", error), KeepResult::Failed);
#endif

  // A file where its folder should be: nothing can be written.
  fs::remove_all(folder_);
  write((folder_ / "driftglow").string(), "not a folder");
  EXPECT_EQ(keepFavourite(path_, {1, 2, 3}, "d", error), KeepResult::Failed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(read((folder_ / "driftglow").string()), "not a folder");
}

}  // namespace
