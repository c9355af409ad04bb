// driftglow-icongen PIXDIR OUTDIR: draws the application icon from the image
// catalogue in PIXDIR as OUTDIR/driftglow-{48,128,256}.png.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/icongen/icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PIXDIR OUTDIR\n", argv[0]);
    return 2;
  }
  tools::RgbaImage icon;
  std::string error;
  if (!icongen::DrawIcon(argv[1], icon, error)) {
    std::fprintf(stderr, "driftglow-icongen: %s\n", error.c_str());
    return 1;
  }
  std::error_code code;
  std::filesystem::create_directories(argv[2], code);
  for (int size : {48, 128, 256}) {
    const std::string path = std::string(argv[2]) + "/driftglow-" + std::to_string(size) + ".png";
    const tools::RgbaImage image = size == icon.width ? icon : icongen::ReduceImage(icon, size);
    if (std::string error; !tools::WritePngFile(path, image, error)) {
      std::fprintf(stderr, "driftglow-icongen: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
