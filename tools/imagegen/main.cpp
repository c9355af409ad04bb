// driftglow-imagegen OUTDIR: draws the image catalogue into OUTDIR as PNG
// files. PNG files in OUTDIR that are not part of the catalogue are removed,
// so the viewer never picks up images left over from an older catalogue.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "tools/imagegen/catalogue.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path folder(argv[1]);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "driftglow-imagegen: cannot create %s: %s\n", folder.string().c_str(),
                 error.message().c_str());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const auto& entries = imagegen::CatalogueEntries();
  std::set<std::string> names;
  for (const auto& entry : entries) names.insert(entry.fileName);
  for (const auto& item : fs::directory_iterator(folder, error)) {
    const std::string name = item.path().filename().string();
    if (item.is_regular_file() && item.path().extension() == ".png" && names.count(name) == 0)
      fs::remove(item.path(), error);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const tools::RgbaImage image = imagegen::DrawCatalogueImage(i);
    const std::string path = (folder / entries[i].fileName).string();
    if (std::string error; !tools::WritePngFile(path, image, error)) {
      std::fprintf(stderr, "driftglow-imagegen: %s\n", error.c_str());
      return 1;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("driftglow-imagegen: %zu images in %s (%.2f s)\n", entries.size(), folder.string().c_str(), seconds);
  return 0;
}
