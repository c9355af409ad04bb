// driftglow-fontbake FONT.ttf PIXELS OUTDIR NAME: writes OUTDIR/NAME.fnt
// and the bitmap OUTDIR/NAME.png that it names.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/common/binary_file.h"
#include "tools/fontbake/font_baker.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s FONT.ttf PIXELS OUTDIR NAME\n", argv[0]);
    return 2;
  }
  fontbake::BakeOptions options;
  options.fontPath = argv[1];
  options.pixelSize = std::atoi(argv[2]);
  const std::string folder = argv[3], name = argv[4];
  options.bitmapName = name + ".png";
  fontbake::BakedFont baked;
  std::string error;
  if (!fontbake::BakeFont(options, baked, error)) {
    std::fprintf(stderr, "driftglow-fontbake: %s\n", error.c_str());
    return 1;
  }
  // The folder is this program's output, made as needed, as imagegen does.
  std::error_code code;
  std::filesystem::create_directories(folder, code);
  if (!tools::WritePngFile(folder + "/" + options.bitmapName, baked.bitmap, error) ||
      !tools::WriteTextFile(folder + "/" + name + ".fnt", baked.description, error)) {
    std::fprintf(stderr, "driftglow-fontbake: %s\n", error.c_str());
    return 1;
  }
  std::printf("driftglow-fontbake: %s: %zu glyphs, line height %d, bitmap %dx%d\n", name.c_str(), baked.glyphs.size(),
              baked.lineHeight, baked.bitmap.width, baked.bitmap.height);
  return 0;
}
