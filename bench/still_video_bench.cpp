// driftglow-still --video end to end: 250 frames (five seconds) of the
// screen for the seeds 12,34,56 drawn and encoded, at 960 × 960 and
// 1920 × 1080, as WebM (AV1) and MP4 (H.264). Drawing runs on the calling
// thread, encoding on the others, so the processor time of each is reported.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/still/still_options.h"
#include "tools/still/still_run.h"

namespace {

double processorSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

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
  double drawing = 0, encoding = 0;
  for (auto _ : state) {
    const double thread = processorSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double process = processorSeconds(CLOCK_PROCESS_CPUTIME_ID);
    if (runStill(options) != kStillOk) state.SkipWithError("driftglow-still failed");
    // The calling thread also loads the catalogue and builds the screen,
    // well under a second of the total.
    drawing += processorSeconds(CLOCK_THREAD_CPUTIME_ID) - thread;
    encoding += processorSeconds(CLOCK_PROCESS_CPUTIME_ID) - process -
                (processorSeconds(CLOCK_THREAD_CPUTIME_ID) - thread);
    std::filesystem::current_path(folder, code);
  }
  state.counters["draw_cpu_s"] = benchmark::Counter(drawing, benchmark::Counter::kAvgIterations);
  state.counters["encode_cpu_s"] = benchmark::Counter(encoding, benchmark::Counter::kAvgIterations);
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
