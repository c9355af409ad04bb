// Why a file on the disk could not be read, as the packs and the texture
// loader report it: POSIX file kinds (pipes, links, permissions).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "engine/sdl/resource_packs.h"
#include "tests/engine/sdl/test_files.h"

namespace {

class ResourcePackReasonsTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  ScopedWorkingFolder cwd_{folder_.path()};
  HeadlessEngine engine_{8, 8};
};

// The disk's reason for one name, loaded as a user other than root would
// (root reads any file whatever its permissions).
[[noreturn]] void loadAsAnotherUser(const char* name, const char* want) {
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
  std::vector<uint8_t> bytes;
  std::string reason;
  ResourcePacks packs;
  std::_Exit(!packs.Load(name, bytes, &reason) && reason == want ? 0 : 1);
}

TEST_F(ResourcePackReasonsTest, AFileThatCannotBeReadIsReportedWithItsRealReason) {
  namespace fs = std::filesystem;
  fs::create_directories(folder_.path() / "pix");
  folder_.Write("pix/locked.png", std::string("x"));
  fs::permissions(folder_.path() / "pix" / "locked.png", fs::perms::none);
  ASSERT_EQ(::mkfifo((folder_.path() / "pix" / "pipe.png").c_str(), 0644), 0);
  fs::create_symlink("loop_b.png", folder_.path() / "pix" / "loop_a.png");
  fs::create_symlink("loop_a.png", folder_.path() / "pix" / "loop_b.png");
  fs::create_symlink("gone.png", folder_.path() / "pix" / "dangling.png");
  fs::create_directories(folder_.path() / "pix" / "folder.png");
  struct Case {
    const char* name;
    const char* reason;
  };
  for (Case c : {Case{"pix\\missing.png", "not found"},
                 {"pix\\dangling.png", "not found"},
                 {"pix\\pipe.png", "not a regular file"},
                 {"pix\\folder.png", "not a regular file"},
                 {"pix\\loop_a.png", "too many levels of symbolic links"}}) {
    std::vector<uint8_t> bytes;
    std::string reason;
    ResourcePacks packs;
    EXPECT_FALSE(packs.Load(c.name, bytes, &reason)) << c.name;
    EXPECT_EQ(reason, c.reason) << c.name;
  }
  EXPECT_EXIT(loadAsAnotherUser("pix/locked.png", "permission denied"), ::testing::ExitedWithCode(0), "");

  // The texture loader passes the reason on in its error.
  engine_.System_SetState(BoolState::UseSound, false);
  ASSERT_TRUE(engine_.System_Initiate());
  EXPECT_EQ(engine_.Texture_Load("pix\\pipe.png"), 0u);
  EXPECT_STREQ(engine_.System_GetErrorMessage(), "Texture_Load: pix\\pipe.png: not a regular file");
}

}  // namespace
