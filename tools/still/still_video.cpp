// The video run: drawing on this thread, conversion and encoding on a second
// one, a few frame buffers between them; progress on a terminal, a summary
// line at the end, and an interrupted run cleans up after itself.
#include "tools/still/still_video.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/app_state.h"
#include "app/render.h"
#include "engine/sdl/headless_engine.h"
#include "tools/common/interrupt_watch.h"
#include "tools/still/still_motion.h"
#include "tools/still/still_sound.h"
#include "tools/video/frame_pipeline.h"
#include "tools/video/progress_text.h"
#include "tools/video/track_audio.h"
#include "tools/video/video_format.h"
#include "tools/video/video_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Three buffers: one being drawn, one being encoded, one spare to even out
// frames that take longer on either side.
constexpr int kFrameBuffers = 3;
constexpr double kProgressIntervalSeconds = 0.25;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void report(const std::string& message) { std::fprintf(stderr, "driftglow-still: %s\n", message.c_str()); }

// A line rewritten in place while standard error is a terminal; nothing
// until the summary otherwise, so logs get one line per run.
class ProgressLine {
 public:
  ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}

  void Update(int done, int total, double elapsedSeconds) {
    if (!terminal_ || elapsedSeconds - shownAt_ < kProgressIntervalSeconds) return;
    shownAt_ = elapsedSeconds;
    std::fprintf(stderr, "\rdriftglow-still: %s\033[K", progressText(done, total, elapsedSeconds).c_str());
    std::fflush(stderr);
    shown_ = true;
  }
  // Takes the progress line off before a message.
  void Clear() {
    if (shown_) std::fputs("\r\033[K", stderr);
    shown_ = false;
  }

 private:
  bool terminal_;
  bool shown_ = false;
  double shownAt_ = 0;
};

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

StillVideo::StillVideo(HeadlessEngine& engine, InterruptWatch* interrupts) : engine_(engine), interrupts_(interrupts) {}
StillVideo::~StillVideo() = default;

void StillVideo::Interrupted() { interrupts_->EndNow("interrupted; the unfinished '" + path_ + "' was removed"); }

int StillVideo::Prepare(const StillOptions& options, const std::string& path) {
  // This thread and any the graphics driver runs draw; every thread started
  // from here on encodes.
  times_.Mark();
  path_ = path;
  frames_ = options.frames;
  const VideoFormat* format = videoFormatForPath(path);
  if (!format) {
    report("--video FILE must end in " + knownVideoExtensions());
    return kStillBadRequest;
  }
  quietVideoLibraries();
  std::string error;
  const int rate = VideoWriter::kSampleRate;
  if (options.audio) {
    sound_ = std::make_unique<StillSound>(engine_);
    if (!sound_->Load(options.audioTrack, error)) {
      report(error);
      return kStillBadRequest;
    }
    // Cut at the last frame's end, fading over the last second (or the
    // second half of a shorter clip).
    const int64_t length = static_cast<int64_t>(frames_) * rate / APP_STATE.framesPerSecond;
    audio_ = std::make_unique<TrackAudio>();
    if (!audio_->Open(sound_->Bytes(), sound_->Size(), rate, length, std::min<int64_t>(rate, length / 2), error)) {
      report("the track " + sound_->Name() + ": " + error);
      return kStillFailed;
    }
  }
  writer_ = std::make_unique<VideoWriter>();
  // The seeds travel with the clip, so that its screen can be made again.
  const std::string seeds = seedsText(options);
  writer_->SetTags("Driftglow " + seeds, "driftglow-still --seeds " + seeds);
  if (!writer_->Open(path, *format, engine_.Width(), engine_.Height(), APP_STATE.framesPerSecond, audio_.get(),
                     error)) {
    report(error);
    return kStillFailed;
  }
  return kStillOk;
}

int StillVideo::Run() {
  if (!writer_) return kStillFailed;
  const int pitch = engine_.Width() * 4;
  FramePipeline pipeline(static_cast<size_t>(pitch) * engine_.Height(), kFrameBuffers);

  times_.Start();
  std::atomic<int> encoded{0};
  std::string encodeError;
  std::thread encoder([&] {
    while (uint8_t* buffer = pipeline.TakeFilled()) {
      const bool added = writer_->AddFrame(buffer, pitch, encodeError);
      pipeline.Release(buffer);
      if (!added) {
        pipeline.Stop();
        return;
      }
      encoded.fetch_add(1, std::memory_order_relaxed);
    }
  });

  ProgressLine progress;
  const Clock::time_point start = Clock::now();
  std::string drawError;
  int signal = 0;
  for (int frame = 0; frame < frames_; ++frame) {
    if (interrupts_ && (signal = interrupts_->Signal()) != 0) break;
    animateStillFrame(engine_);
    renderFunction();
    uint8_t* buffer = pipeline.AcquireFree();
    if (!buffer) break;  // the encoder failed
    if (!engine_.ReadFrame(buffer, pitch)) {
      drawError = std::string("can't read the frame back: ") + engine_.System_GetErrorMessage();
      break;
    }
    pipeline.Submit(buffer);
    progress.Update(encoded.load(std::memory_order_relaxed), frames_, secondsSince(start));
  }
  if (signal || !drawError.empty()) {
    pipeline.Stop();
  } else {
    pipeline.Close();
  }
  encoder.join();

  std::string error = !drawError.empty() ? drawError : encodeError;
  if (!signal && interrupts_) signal = interrupts_->Signal();
  if (!signal && error.empty()) writer_->Finish(error);
  progress.Clear();
  if (signal) Interrupted();
  if (!error.empty()) {
    writer_->Abandon();
    report(error);
    return kStillFailed;
  }
  const double seconds = secondsSince(start);
  double drawSeconds = 0, encodeSeconds = 0;
  times_.Read(drawSeconds, encodeSeconds);
  const int fps = APP_STATE.framesPerSecond;
  report("wrote '" + path_ + "': " + std::to_string(frames_) + " frames (" + fixed(double(frames_) / fps, 2) +
         " s at " + std::to_string(fps) + " fps), " + std::to_string(engine_.Width()) + "x" +
         std::to_string(engine_.Height()) + " " + writer_->Description() + (sound_ ? " (" + sound_->Name() + ")" : "") +
         ", in " + fixed(seconds, 1) + " s (" + fixed(frames_ / std::max(seconds, 1e-9), 1) +
         " fps; processor time: drawing " + fixed(drawSeconds, 1) + " s, encoding " + fixed(encodeSeconds, 1) + " s)");
  return kStillOk;
}
