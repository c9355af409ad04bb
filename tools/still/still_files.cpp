// Still outputs through the content tools' checked writer: a temporary file
// renamed into place, so a full disk leaves no truncated picture behind.
#include "tools/still/still_files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "tools/common/binary_file.h"
#include "tools/common/png_file.h"

bool writeStillText(const std::string& path, const std::string& text, std::string& error) {
  if (path != "-") return tools::WriteTextFile(path, text, error);
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return true;
  error = std::string("can't write to standard output: ") + std::strerror(errno ? errno : EIO);
  return false;
}

bool writeStillPng(HeadlessEngine& engine, const std::string& path, const std::vector<tools::PngText>& texts,
                   std::string& error) {
  const int width = engine.Width(), height = engine.Height();
  std::vector<uint32_t> frame(static_cast<size_t>(width) * height);
  if (!engine.ReadFrame(frame.data(), width * 4)) {
    error = std::string("can't read the picture back: ") + engine.System_GetErrorMessage();
    return false;
  }
  tools::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t xrgb = frame[static_cast<size_t>(y) * width + x];
      uint8_t* out = image.At(x, y);
      out[0] = static_cast<uint8_t>(xrgb >> 16);
      out[1] = static_cast<uint8_t>(xrgb >> 8);
      out[2] = static_cast<uint8_t>(xrgb);
      out[3] = 255;
    }
  return tools::WriteBinaryFile(path, tools::EncodeRgbPng(image, texts), error);
}
