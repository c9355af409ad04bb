// driftglow-pack OUT.zip DIR: stores every file below DIR in a zip archive
// (no compression), named relative to DIR with forward slashes.
#include <cstdio>
#include <string>

#include "tools/common/binary_file.h"
#include "tools/pack/zip_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUT.zip DIR\n", argv[0]);
    return 2;
  }
  std::vector<pack::ZipEntry> entries;
  std::vector<uint8_t> archive;
  std::string error;
  if (!pack::CollectFolder(argv[2], entries, error) || !pack::BuildZip(entries, archive, error)) {
    std::fprintf(stderr, "driftglow-pack: %s\n", error.c_str());
    return 1;
  }
  if (std::string error; !tools::WriteBinaryFile(argv[1], archive, error)) {
    std::fprintf(stderr, "driftglow-pack: %s\n", error.c_str());
    return 1;
  }
  std::printf("driftglow-pack: %s: %zu files, %zu bytes\n", argv[1], entries.size(), archive.size());
  return 0;
}
