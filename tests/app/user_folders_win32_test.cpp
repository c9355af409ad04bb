// Where pictures and favourites go on Windows: the shell's Pictures folder,
// else the profile's, and the roaming application data, each given in a
// name the program's file calls read back as the same folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/user_folders.h"

namespace {

EnvironmentLookup environmentOf(const std::map<std::string, std::string>& variables) {
  return [variables](const char* name) -> const char* {
    auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
  };
}

TEST(WindowsUserFolders, FavouritesUnderTheRoamingApplicationData) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Users\\u\\AppData\\Roaming", "C:\\Users\\u\\AppData\\Roaming\\Driftglow\\favourites"},
      {"C:\\Users\\u\\AppData\\Roaming\\\\", "C:\\Users\\u\\AppData\\Roaming\\Driftglow\\favourites"},
      {"D:\\", "D:\\Driftglow\\favourites"},
      {"", ""},
  };
  for (const auto& [appData, expected] : cases)
    EXPECT_EQ(favouritesPath(environmentOf({{"APPDATA", appData}, {"USERPROFILE", "C:\\Users\\u"}})), expected)
        << appData;
  EXPECT_EQ(favouritesPath(environmentOf({{"USERPROFILE", "C:\\Users\\u"}})), "");
}

TEST(WindowsUserFolders, PicturesFromTheShellElseTheProfile) {
  const auto profile = environmentOf({{"USERPROFILE", "C:\\Users\\u"}});
  EXPECT_EQ(picturesFolderFromShell(L"E:\\Photos\\", profile), "E:\\Photos\\Driftglow");
  EXPECT_EQ(picturesFolderFromShell(L"", profile), "C:\\Users\\u\\Pictures\\Driftglow");
  EXPECT_EQ(picturesFolderFromShell(L"", environmentOf({})), "");

  // A name outside ASCII reaches the file calls as the same folder.
  const std::wstring accented = L"C:\\Users\\Zo\u00eb\\Pictures";
  EXPECT_EQ(std::filesystem::path(picturesFolderFromShell(accented, profile)).wstring(), accented + L"\\Driftglow");

  // The process's own shell answers whatever the environment says.
  const std::string shell = picturesFolder(environmentOf({{"USERPROFILE", "Q:\\nobody"}}));
  ASSERT_FALSE(shell.empty());
  EXPECT_EQ(shell.find("Q:\\nobody"), std::string::npos) << shell;
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(shell).parent_path())) << shell;
}

}  // namespace
