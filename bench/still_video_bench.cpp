// driftglow-still --video end to end: 250 frames (five seconds) of the
// screen for the seeds 12,34,56 drawn and encoded, at 960 × 960 and
// 1920 × 1080, as WebM (AV1) and MP4 (H.264). The tool's summary line, on
// standard error, splits the processor time between drawing and encoding.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/still/still_options.h"
#include "tools/still/still_run.h"

namespace {

void BM_StillVideo(benchmark::State& state) {
  const bool mp4 = state.range(2) != 0;
  const std::filesystem::path clip = std::filesystem::temp_directory_path() /
                                     ("driftglow_bench_" + std::to_string(::getpid()) + (mp4 ? ".mp4" : ".webm"));
  StillOptions options;
  options.seeds[0] = 12;
  options.seeds[1] = 34;
  options.seeds[2] = 56;
  options.width = static_cast<int>(state.range(0));
  options.height = static_cast<int>(state.range(1));
  options.frames = 250;
  options.videoPath = clip.string();
  options.dataDir = DRIFTGLOW_RUN_DIR;
  std::error_code code;
  const std::filesystem::path folder = std::filesystem::current_path(code);
  for (auto _ : state) {
    if (runStill(options) != kStillOk) state.SkipWithError("driftglow-still failed");
    std::filesystem::current_path(folder, code);
  }
  std::filesystem::remove(clip, code);
}
BENCHMARK(BM_StillVideo)
    ->ArgNames({"width", "height", "mp4"})
    ->Args({960, 960, 0})
    ->Args({1920, 1080, 0})
    ->Args({960, 960, 1})
    ->Args({1920, 1080, 1})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
