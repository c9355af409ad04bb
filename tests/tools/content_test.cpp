// The generated content in the viewer's working folder, as the build left
// it: the packs hold exactly the named resources, stored, readable through
// PhysFS; the tracks are two to four minutes of 128-192 kbit/s MP3; the
// fonts and the catalogue are in place. Skipped when no content was built.
#include <gtest/gtest.h>
#include <physfs.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/mp3_frames.h"
#include "tools/common/binary_file.h"
#include "tools/common/png_file.h"

namespace {

namespace fs = std::filesystem;
const fs::path kRunDir = DRIFTGLOW_RUN_DIR;

// Every file in a PhysFS-mounted archive, with its contents.
bool ReadArchive(const fs::path& archive, std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
  if (!PHYSFS_init(nullptr)) return false;
  bool ok = PHYSFS_mount(archive.string().c_str(), nullptr, 0) != 0;
  std::vector<std::string> pending = {""};
  while (ok && !pending.empty()) {
    const std::string folder = pending.back();
    pending.pop_back();
    char** list = PHYSFS_enumerateFiles(folder.c_str());
    for (char** item = list; item && *item; ++item) {
      const std::string path = folder.empty() ? *item : folder + "/" + *item;
      PHYSFS_Stat stat;
      if (!PHYSFS_stat(path.c_str(), &stat)) ok = false;
      else if (stat.filetype == PHYSFS_FILETYPE_DIRECTORY) pending.push_back(path);
      else {
        PHYSFS_File* file = PHYSFS_openRead(path.c_str());
        std::vector<uint8_t> bytes(file ? static_cast<size_t>(PHYSFS_fileLength(file)) : 0);
        if (!file || (!bytes.empty() &&
                      PHYSFS_readBytes(file, bytes.data(), bytes.size()) != static_cast<PHYSFS_sint64>(bytes.size())))
          ok = false;
        if (file) PHYSFS_close(file);
        files.emplace_back(path, std::move(bytes));
      }
    }
    PHYSFS_freeList(list);
  }
  PHYSFS_deinit();
  std::sort(files.begin(), files.end());
  return ok;
}

// True when every local header of the archive says "stored".
bool AllStored(const fs::path& archive) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadBinaryFile(archive.string(), bytes)) return false;
  size_t at = 0, entries = 0;
  while (at + 30 <= bytes.size() && bytes[at] == 'P' && bytes[at + 1] == 'K' && bytes[at + 2] == 3 &&
         bytes[at + 3] == 4) {
    if ((bytes[at + 8] | bytes[at + 9] << 8) != 0) return false;
    const size_t size =
        bytes[at + 18] | bytes[at + 19] << 8 | bytes[at + 20] << 16 | static_cast<size_t>(bytes[at + 21]) << 24;
    at += 30 + (bytes[at + 26] | bytes[at + 27] << 8) + (bytes[at + 28] | bytes[at + 29] << 8) + size;
    ++entries;
  }
  return entries > 0;
}

void RequireContent(const fs::path& path) {
  if (!fs::exists(path))
    GTEST_SKIP() << path << " has not been generated (configure with DRIFTGLOW_BUILD_CONTENT=ON and build)";
}

TEST(GeneratedContent, SoundPackHoldsTheThreeTracks) {
  const fs::path pack = kRunDir / "Sound.paq";
  RequireContent(pack);
  EXPECT_TRUE(AllStored(pack)) << "stored entries keep seeking cheap";
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  ASSERT_TRUE(ReadArchive(pack, files)) << PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
  std::vector<std::string> names;
  for (const auto& file : files) names.push_back(file.first);
  EXPECT_EQ(names, (std::vector<std::string>{"sound/Kalliope.mp3", "sound/Mercury.mp3", "sound/MoonGarden.mp3"}));
  for (const auto& [name, bytes] : files) {
    testing_mp3::Mp3Summary summary;
    ASSERT_TRUE(testing_mp3::ScanMp3(bytes, summary)) << name;
    EXPECT_GE(summary.Seconds(), 120.0) << name;
    EXPECT_LE(summary.Seconds(), 240.0) << name;
    EXPECT_GE(summary.firstBitrateKbps, 128) << name;
    EXPECT_LE(summary.firstBitrateKbps, 192) << name;
    EXPECT_TRUE(summary.stereo) << name;
    EXPECT_EQ(summary.sampleRate, 44100) << name;
  }
  // Three distinct pieces, not one track three times.
  ASSERT_EQ(files.size(), 3u);
  EXPECT_NE(files[0].second, files[1].second);
  EXPECT_NE(files[1].second, files[2].second);
}

TEST(GeneratedContent, GraphicsPackHoldsTheTwoFonts) {
  const fs::path pack = kRunDir / "Graphics.paq";
  RequireContent(pack);
  EXPECT_TRUE(AllStored(pack));
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  ASSERT_TRUE(ReadArchive(pack, files));
  std::vector<std::string> names;
  for (const auto& file : files) names.push_back(file.first);
  EXPECT_EQ(names, (std::vector<std::string>{"graphics/font.fnt", "graphics/font.png", "graphics/fontsmall.fnt",
                                             "graphics/fontsmall.png"}));
  for (const auto& [name, bytes] : files) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".fnt") {
      const std::string text(bytes.begin(), bytes.end());
      EXPECT_EQ(text.rfind("[HGEFONT]\r\n", 0), 0u) << name;
      const std::string stem = name.substr(name.find('/') + 1, name.size() - name.find('/') - 5);
      EXPECT_NE(text.find("\nBitmap=" + stem + ".png\r\n"), std::string::npos) << name;
    } else {
      tools::RgbaImage image;
      std::string error;
      EXPECT_TRUE(tools::DecodePng(bytes, image, error)) << name << ": " << error;
    }
  }
  EXPECT_TRUE(fs::exists(kRunDir / "DejaVu-LICENSE.txt")) << "the font's licence travels with the packs";
}

TEST(GeneratedContent, CatalogueFolderHoldsLoadablePngs) {
  const fs::path folder = kRunDir / "pix";
  RequireContent(folder);
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".png") continue;
    tools::RgbaImage image;
    std::string error;
    ASSERT_TRUE(tools::ReadPngFile(entry.path().string(), image, error)) << entry.path() << ": " << error;
    EXPECT_GE(std::min(image.width, image.height), 32) << entry.path();
    EXPECT_LE(std::max(image.width, image.height), 256) << entry.path();
    ++count;
  }
  EXPECT_GE(count, 32);
}

}  // namespace
