// The favourites file through the Windows file calls: read and replaced by
// the same name, and a file another program holds is refused with the
// earlier favourites kept as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "app/favourites.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;

class WindowsFavouritesFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("driftglow-favourites-win32");
    path_ = (folder_ / "favourites").string();
  }
  void TearDown() override { fs::remove_all(folder_); }
  // Keeps two screens, so that there is something to lose.
  void keepTwo() {
    std::string error;
    ASSERT_EQ(keepFavourite(path_, {1, 2, 3}, "a", error), KeepResult::Kept) << error;
    ASSERT_EQ(keepFavourite(path_, {4, 5, 6}, "b", error), KeepResult::Kept) << error;
  }
  std::string contents() const {
    std::ifstream file(fs::path(path_), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  long filesInFolder() const {
    return std::distance(fs::directory_iterator(fs::path(path_).parent_path()), fs::directory_iterator());
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(WindowsFavouritesFile, ReadBackFromAFolderNamedOutsideAscii) {
  // Bytes that the ANSI code page reads as other characters than the
  // program's file calls do.
  path_ = (folder_ / "Zo\xeb \x80" / "favourites").string();
  keepTwo();
  Favourites favourites;
  std::string error;
  ASSERT_TRUE(readFavourites(path_, favourites, error)) << error;
  EXPECT_EQ(favourites.screens, (std::vector<SeedTriple>{{1, 2, 3}, {4, 5, 6}}));
}

TEST_F(WindowsFavouritesFile, AFileHeldWithoutSharingIsRefusedAndKept) {
  keepTwo();
  const HANDLE held = CreateFileW(fs::path(path_).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Favourites favourites;
  std::string error;
  EXPECT_FALSE(readFavourites(path_, favourites, error));
  EXPECT_NE(error.find("can't read"), std::string::npos) << error;
  EXPECT_EQ(keepFavourite(path_, {7, 8, 9}, "c", error), KeepResult::Failed);
  CloseHandle(held);
  EXPECT_EQ(contents(), "1,2,3 a\n4,5,6 b\n");
  EXPECT_EQ(filesInFolder(), 1) << "a temporary file was left";
}

}  // namespace
