// Image loading on the headless engine: a 256 x 256 PNG decoded, the check of
// its compressed data alone, and a decompression bomb (64 x 64 pixels, 1 MB
// of image data that would inflate to 1 GiB), which is refused.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "engine/sdl/png_inflation.h"
#include "tools/common/png_file.h"

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, static_cast<uint32_t>(crc32_z(0, out.data() + start, out.size() - start)));
}

const std::vector<uint8_t>& bombPng() {
  static const std::vector<uint8_t> png = [] {
    std::vector<uint8_t> zeros(1 << 20), buffer(1 << 16), data;
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    for (int megabyte = 0; megabyte < 1024; ++megabyte) {
      stream.next_in = zeros.data();
      stream.avail_in = static_cast<uInt>(zeros.size());
      const int flush = megabyte == 1023 ? Z_FINISH : Z_NO_FLUSH;
      do {
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        deflate(&stream, flush);
        data.insert(data.end(), buffer.data(), buffer.data() + (buffer.size() - stream.avail_out));
      } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32(header, 64);
    put32(header, 64);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", data);
    putChunk(file, "IEND", {});
    return file;
  }();
  return png;
}

const std::vector<uint8_t>& gradientPng() {
  static const std::vector<uint8_t> png = [] {
    tools::RgbaImage image(256, 256);
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) {
        uint8_t* pixel = image.At(x, y);
        pixel[0] = static_cast<uint8_t>(x), pixel[1] = static_cast<uint8_t>(y);
        pixel[2] = static_cast<uint8_t>(x ^ y), pixel[3] = static_cast<uint8_t>((x + y) / 2);
      }
    }
    return tools::EncodePng(image);
  }();
  return png;
}

void loadRepeatedly(benchmark::State& state, const std::vector<uint8_t>& png, bool expectTexture) {
  HeadlessEngine engine(64, 64);
  engine.System_SetState(BoolState::UseSound, false);
  if (!engine.System_Initiate()) return state.SkipWithError(engine.System_GetErrorMessage());
  for (auto _ : state) {
    const HTEXTURE texture = engine.Texture_Load(reinterpret_cast<const char*>(png.data()), png.size());
    if ((texture != 0) != expectTexture) return state.SkipWithError(engine.System_GetErrorMessage());
    engine.Texture_Free(texture);
  }
  state.counters["file_kB"] = static_cast<double>(png.size()) / 1000.0;
}

void BM_TextureLoadRefusesInflateBomb(benchmark::State& state) { loadRepeatedly(state, bombPng(), false); }
BENCHMARK(BM_TextureLoadRefusesInflateBomb)->Unit(benchmark::kMillisecond);

void BM_TextureLoadPng256(benchmark::State& state) { loadRepeatedly(state, gradientPng(), true); }
BENCHMARK(BM_TextureLoadPng256)->Unit(benchmark::kMillisecond);

void BM_PngInflationCheck256(benchmark::State& state) {
  const std::vector<uint8_t>& png = gradientPng();
  for (auto _ : state) benchmark::DoNotOptimize(CheckPngInflation(png.data(), png.size()));
}
BENCHMARK(BM_PngInflationCheck256)->Unit(benchmark::kMillisecond);

}  // namespace
