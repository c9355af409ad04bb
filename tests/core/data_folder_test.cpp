// Tests of the search for the folder that holds the image catalogue.
#include "core/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

TEST(DataFolder, TheFirstCandidateWithAPixFolderWins) {
  const fs::path root = fs::temp_directory_path() / ("driftglow_data_folder_" + std::to_string(::getpid()));
  fs::create_directories(root / "bare");
  fs::create_directories(root / "first" / "pix");
  fs::create_directories(root / "second" / "pix");
  // A file named pix is not a catalogue folder.
  fs::create_directories(root / "file");
  std::ofstream(root / "file" / "pix") << "not a folder";
  const std::string bare = (root / "bare").string(), first = (root / "first").string();
  const std::string second = (root / "second").string(), file = (root / "file").string();
  const std::string missing = (root / "missing").string();

  EXPECT_EQ(findDataFolder({"", missing, bare, file, first, second}), first);
  EXPECT_EQ(findDataFolder({second, first}), second);
  EXPECT_EQ(findDataFolder({"", bare, file}), "");
  EXPECT_EQ(findDataFolder({}), "");
  fs::remove_all(root);
}

}  // namespace
