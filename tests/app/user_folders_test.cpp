// Finding the pictures folder and the favourites file from the environment
// and user-dirs.dirs.
#include <gtest/gtest.h>

#include <map>

#include "app/user_folders.h"

namespace {

TEST(UserFolders, UserDirsLines) {
  const std::pair<const char*, const char*> cases[] = {
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/u/Bilder"},
      {"# c\nXDG_MUSIC_DIR=\"$HOME/M\"\n  XDG_PICTURES_DIR = \"/data/pics\"  \r\n", "/data/pics"},
      {"XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n", "/home/u/My \"Pics\""},
      {"XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"", "/home/u/b"},
      {"XDG_PICTURES_DIR=\"relative/path\"\n", ""},
      {"XDG_PICTURES_DIR=$HOME/unquoted\n", ""},
      {"XDG_PICTURES_DIR=\"$HOMEless\"\n", ""},
      {"XDG_PICTURES_DIRECTORY=\"/x\"\n", ""},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(userDirFromConfig(text, "XDG_PICTURES_DIR", "/home/u"), expected) << text;
}

TEST(UserFolders, FallBackToTheHomeFolder) {
  const std::map<std::string, std::string> variables = {
      {"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/nonexistent"}, {"XDG_DATA_HOME", "relative"}};
  const EnvironmentLookup environment = [&](const char* name) -> const char* {
    auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
  };
  EXPECT_EQ(picturesFolder(environment), "/home/u/Pictures/Driftglow");
  EXPECT_EQ(favouritesPath(environment), "/home/u/.local/share/driftglow/favourites");
}

}  // namespace
