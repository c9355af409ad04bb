// The pack writer: archives that PhysFS (the engine's pack reader) opens
// and reads back byte for byte, stored entries, stable output, refused
// names, and folders collected with forward-slash names.
#include "tools/pack/zip_writer.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tools/common/binary_file.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder removed at the end of the test.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    path_ = fs::temp_directory_path() /
            ("driftglow_pack_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Mounts an archive with PhysFS for the lifetime of the object.
class MountedArchive {
 public:
  explicit MountedArchive(const std::string& archive) {
    ok_ = PHYSFS_init(nullptr) != 0 && PHYSFS_mount(archive.c_str(), nullptr, 0) != 0;
  }
  ~MountedArchive() { PHYSFS_deinit(); }
  bool Ok() const { return ok_; }
  bool Read(const std::string& name, std::vector<uint8_t>& bytes) const {
    PHYSFS_File* file = PHYSFS_openRead(name.c_str());
    if (!file) return false;
    const PHYSFS_sint64 length = PHYSFS_fileLength(file);
    bytes.resize(static_cast<size_t>(std::max<PHYSFS_sint64>(length, 0)));
    const PHYSFS_sint64 read = bytes.empty() ? 0 : PHYSFS_readBytes(file, bytes.data(), bytes.size());
    PHYSFS_close(file);
    return read == length;
  }
  std::vector<std::string> List(const std::string& folder) const {
    std::vector<std::string> names;
    char** list = PHYSFS_enumerateFiles(folder.c_str());
    for (char** item = list; item && *item; ++item) names.emplace_back(*item);
    PHYSFS_freeList(list);
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  bool ok_ = false;
};

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(ZipWriter, PhysFsReadsBackEveryEntry) {
  std::vector<uint8_t> big(300000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>((i * 7919) >> 3);
  const std::vector<pack::ZipEntry> entries = {
      {"graphics/font.fnt", Bytes("[HGEFONT]\r\nBitmap=font.png\r\n")},
      {"sound/Mercury.mp3", big},
      {"empty.txt", {}},
      {"a/b/c/deep.bin", Bytes(std::string("\0\1\2\3", 4))},
  };
  std::vector<uint8_t> archive;
  std::string error;
  ASSERT_TRUE(pack::BuildZip(entries, archive, error)) << error;
  TemporaryFolder folder;
  const std::string path = (folder.Path() / "test.paq").string();
  ASSERT_TRUE(tools::WriteBinaryFile(path, archive));

  MountedArchive mounted(path);
  ASSERT_TRUE(mounted.Ok()) << PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
  for (const pack::ZipEntry& entry : entries) {
    std::vector<uint8_t> read;
    ASSERT_TRUE(mounted.Read(entry.name, read)) << entry.name;
    EXPECT_EQ(read, entry.data) << entry.name;
  }
  EXPECT_EQ(mounted.List("sound"), std::vector<std::string>{"Mercury.mp3"});
  EXPECT_EQ(mounted.List("graphics"), std::vector<std::string>{"font.fnt"});
}

TEST(ZipWriter, StoresEntriesUncompressedWithoutSurprises) {
  const std::vector<pack::ZipEntry> entries = {{"x/one.txt", Bytes("hello hello hello hello")},
                                               {"two.txt", Bytes("world")}};
  std::vector<uint8_t> archive;
  std::string error;
  ASSERT_TRUE(pack::BuildZip(entries, archive, error)) << error;
  // Walk the local headers: signature, method 0 (stored), sizes equal, data in place.
  size_t at = 0;
  for (const pack::ZipEntry& entry : entries) {
    ASSERT_LE(at + 30, archive.size());
    EXPECT_EQ(archive[at], 'P');
    EXPECT_EQ(archive[at + 1], 'K');
    EXPECT_EQ(archive[at + 2], 3);
    EXPECT_EQ(archive[at + 3], 4);
    EXPECT_EQ(archive[at + 8] | archive[at + 9] << 8, 0) << "stored";
    const uint32_t compressed = archive[at + 18] | archive[at + 19] << 8 | archive[at + 20] << 16 |
                                static_cast<uint32_t>(archive[at + 21]) << 24;
    EXPECT_EQ(compressed, entry.data.size());
    const size_t nameLength = archive[at + 26] | archive[at + 27] << 8;
    EXPECT_EQ(std::string(archive.begin() + static_cast<ptrdiff_t>(at + 30),
                          archive.begin() + static_cast<ptrdiff_t>(at + 30 + nameLength)),
              entry.name);
    const size_t data = at + 30 + nameLength;
    EXPECT_TRUE(std::equal(entry.data.begin(), entry.data.end(), archive.begin() + static_cast<ptrdiff_t>(data)));
    at = data + entry.data.size();
  }
  std::vector<uint8_t> again;
  ASSERT_TRUE(pack::BuildZip(entries, again, error));
  EXPECT_EQ(again, archive) << "equal inputs give equal archives";
}

TEST(ZipWriter, RefusesBadNames) {
  const char* bad[] = {"", "/rooted", "trailing/", "a/../b", "./a", "a//b", "back\\slash", ".."};
  for (const char* name : bad) {
    std::vector<uint8_t> archive;
    std::string error;
    EXPECT_FALSE(pack::BuildZip({{name, Bytes("x")}}, archive, error)) << name;
    EXPECT_FALSE(error.empty());
  }
  std::vector<uint8_t> archive;
  std::string error;
  EXPECT_FALSE(pack::BuildZip({{"same.txt", Bytes("1")}, {"same.txt", Bytes("2")}}, archive, error));
  EXPECT_TRUE(pack::BuildZip({}, archive, error)) << "an empty archive is still a valid archive";
}

TEST(ZipWriter, CollectsAFolderWithForwardSlashNamesInOrder) {
  TemporaryFolder folder;
  fs::create_directories(folder.Path() / "sound");
  fs::create_directories(folder.Path() / "graphics" / "deep");
  ASSERT_TRUE(tools::WriteTextFile((folder.Path() / "sound" / "b.mp3").string(), "bb"));
  ASSERT_TRUE(tools::WriteTextFile((folder.Path() / "sound" / "A.mp3").string(), "a"));
  ASSERT_TRUE(tools::WriteTextFile((folder.Path() / "graphics" / "deep" / "font.fnt").string(), "f"));
  fs::create_directories(folder.Path() / "empty");
  std::vector<pack::ZipEntry> entries;
  std::string error;
  ASSERT_TRUE(pack::CollectFolder(folder.Path().string(), entries, error)) << error;
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"graphics/deep/font.fnt", "sound/A.mp3", "sound/b.mp3"}));
  EXPECT_EQ(entries[2].data, Bytes("bb"));
  EXPECT_FALSE(pack::CollectFolder((folder.Path() / "missing").string(), entries, error));
}

}  // namespace
