// The window, the frame loop paced at the fixed frame rate (no vsync), and
// input as Windows virtual-key codes.
#include "engine/sdl/sdl_engine.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include <SDL2/SDL_image.h>

#include "engine/sdl/frame_rate_text.h"
#include "engine/sdl/key_map.h"
#include "engine/sdl/sdl_engine_core.h"
#include "engine/sdl/sdl_video.h"
#include "engine/sdl/stop_signals.h"
#include "engine/sdl/x11_window.h"

namespace {

// A frame reports the real time since the previous one, however long the
// program took to draw it; after a stall that was not the program's doing
// (the window hidden or minimised, the process stopped) it reports at most
// this, so that the animation does not jump by the whole pause.
constexpr float kLongestStallSeconds = 1.0f;
// While suspended (focus lost, DontSuspend off), how often to look for a
// stop request between events.
constexpr int kSuspendedWaitMilliseconds = 100;
// How far the pointer may drift before a show that ends on input ends.
constexpr int kPointerSlackPixels = 5;
// The longest sleep between frames before looking for a stop request again.
constexpr auto kLongestSleep = std::chrono::milliseconds(10);
// The frame rate shown is measured over this many seconds.
constexpr double kFrameRateSeconds = 1.0;

class SdlEngine : public SdlEngineCore {
 public:
  explicit SdlEngine(SdlEngineOptions options) : options_(std::move(options)) {}
  ~SdlEngine() override { System_Shutdown(); }

  bool System_Initiate() override;
  void System_Shutdown() override;
  bool System_Start() override;
  using SdlEngineCore::System_SetState;
  void System_SetState(BoolState state, bool value) override;
  void System_SetState(StringState state, const char* value) override;

  float Timer_GetDelta() override { return delta_; }

 protected:
  // A frame asked for after a stop request is not shown: the window may be
  // going away.
  void PresentFrame() override {
    if (StopRequested()) return;
    if (options_.showFrameRate) drawFrameRate();
    SDL_RenderPresent(Quads().Renderer());
  }

 private:
  // False when the event asks the program to end.
  bool handleEvent(const SDL_Event& event);
  // True for a key press, a click, the wheel, or the pointer moved further
  // than kPointerSlackPixels from where it was first seen.
  bool userActed(const SDL_Event& event);
  void setKey(int key, bool down);
  void applyCursor() { SDL_ShowCursor(states_.hideMouse ? SDL_DISABLE : SDL_ENABLE); }
  // Wraps the foreign X window in an SDL window; false with the error set.
  bool adoptForeignWindow();
  void resized(int width, int height);
  void setIcon();
  // Counts the frame and draws the rate measured, on a black box, in the
  // lower left corner.
  void drawFrameRate();

  SdlEngineOptions options_;
  ForeignXWindow foreign_;
  SubsystemReference video_;
  WindowHandle window_;
  bool focused_ = true;
  bool stalled_ = false;  // since the last frame, for reasons not its own
  // False while the window is minimised or hidden: frames go on, but nothing
  // is drawn or presented, as nobody could see it.
  bool visible_ = true;
  float delta_ = 0;
  bool pointerSeen_ = false;
  int pointerStartX_ = 0;
  int pointerStartY_ = 0;
  std::chrono::steady_clock::time_point rateStart_{};
  int rateFrames_ = 0;
  std::string rateText_ = FrameRateText(0);
};

void SdlEngine::setIcon() {
  for (const std::string& file : options_.iconFiles) {
    // Read as the PNG it must be, never by guessing the format from its bytes.
    StreamHandle stream(SDL_RWFromFile(file.c_str(), "rb"));
    if (!stream) continue;
    SurfaceHandle icon(IMG_LoadPNG_RW(stream.get()));
    if (!icon) continue;
    SDL_SetWindowIcon(window_.get(), icon.get());
    return;
  }
}

void SdlEngine::drawFrameRate() {
  const auto now = std::chrono::steady_clock::now();
  if (rateFrames_ == 0) rateStart_ = now;
  ++rateFrames_;
  const double seconds = std::chrono::duration<double>(now - rateStart_).count();
  if (seconds >= kFrameRateSeconds) {
    rateText_ = FrameRateText((rateFrames_ - 1) / seconds);
    rateFrames_ = 1;
    rateStart_ = now;
  }
  SDL_Renderer* renderer = Quads().Renderer();
  int width = 0, height = 0;
  if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0 || height <= 0) return;
  const int block = height >= 600 ? 3 : height >= 240 ? 2 : 1;
  const int margin = 2 * block;
  // The text is drawn in window pixels, past any scaling and clipping the frame used.
  float scaleX = 1, scaleY = 1;
  SDL_RenderGetScale(renderer, &scaleX, &scaleY);
  int logicalWidth = 0, logicalHeight = 0;
  SDL_RenderGetLogicalSize(renderer, &logicalWidth, &logicalHeight);
  SDL_Rect clip{};
  SDL_RenderGetClipRect(renderer, &clip);
  SDL_RenderSetLogicalSize(renderer, 0, 0);
  SDL_RenderSetScale(renderer, 1, 1);
  SDL_RenderSetClipRect(renderer, nullptr);

  const int top = height - margin - TextHeight(block);
  const std::vector<BlockRect> blocks = TextBlocks(rateText_, margin, top, block);
  int right = margin;
  for (const BlockRect& b : blocks) right = std::max(right, b.x + b.width);
  const SDL_Rect box{0, top - margin, right + margin, TextHeight(block) + 2 * margin};
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderFillRect(renderer, &box);
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  for (const BlockRect& b : blocks) {
    const SDL_Rect rect{b.x, b.y, b.width, b.height};
    SDL_RenderFillRect(renderer, &rect);
  }

  if (logicalWidth > 0) SDL_RenderSetLogicalSize(renderer, logicalWidth, logicalHeight);
  SDL_RenderSetScale(renderer, scaleX, scaleY);
  SDL_RenderSetClipRect(renderer, SDL_RectEmpty(&clip) ? nullptr : &clip);
}

bool SdlEngine::adoptForeignWindow() {
  std::string reason;
  if (!foreign_.Open(options_.foreignWindow, &reason)) {
    SetError(reason);
    return false;
  }
  // Only the platform's own driver can wrap its window handles.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, ForeignXWindow::kVideoDriver);
  if (!InitDisplayVideo(video_, &reason)) {
    SetError(reason);
    return false;
  }
  // OpenGL drawing when the window's visual allows it, else SDL's software
  // drawing into the window.
  void* id = reinterpret_cast<void*>(static_cast<uintptr_t>(foreign_.SurfaceId()));
  SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
  window_.reset(SDL_CreateWindowFrom(id));
  SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "0");
  if (!window_) window_.reset(SDL_CreateWindowFrom(id));
  if (!window_) {
    SetSdlError("System_Initiate: drawing into the X window");
    video_.Reset();
    return false;
  }
  foreign_.EndQuietlyOnErrors();
  return true;
}

bool SdlEngine::System_Initiate() {
  if (window_) return true;
  const bool foreign = options_.foreignWindow != 0;
  if (foreign) {
    if (!adoptForeignWindow()) return false;
    states_.screenWidth = foreign_.Width();
    states_.screenHeight = foreign_.Height();
  }
  const int width = states_.screenWidth;
  const int height = states_.screenHeight;
  if (width <= 0 || height <= 0) {
    SetError("System_Initiate: screen size must be positive");
    window_.reset();
    video_.Reset();
    return false;
  }
  std::string reason;
  if (!foreign && !InitDisplayVideo(video_, &reason)) {
    SetError(reason);
    return false;
  }
  if (!foreign) {
    const Uint32 flags =
        (states_.windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) | (options_.resizable ? SDL_WINDOW_RESIZABLE : 0);
    // Centred on the display holding the pointer, which full screen then
    // fills exactly, never a span of several displays.
    const int position = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(PointerDisplay()));
    window_.reset(SDL_CreateWindow(states_.title.c_str(), position, position, width, height, flags));
    if (window_) setIcon();
  }
  if (!window_) {
    SetSdlError("System_Initiate: creating the window");
    video_.Reset();
    return false;
  }
  // Naming a render driver (SDL_RENDER_DRIVER) would switch SDL's batching
  // off; the engine never touches the renderer behind SDL's back.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // A window adopted for OpenGL drawing is drawn by SDL's OpenGL renderer,
  // which Linux picks anyway. Windows would pick Direct3D, and Direct3D in a
  // screensaver preview (a child of another program's window) has been seen
  // to end the program when that window is resized; OpenGL follows it.
  const bool adoptedForOpenGl = foreign && (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_OPENGL) != 0;
  RendererHandle renderer(
      SDL_CreateRenderer(window_.get(), adoptedForOpenGl ? RenderDriverIndex("opengl") : -1, SDL_RENDERER_ACCELERATED));
  if (!renderer) renderer.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!renderer) {
    SetSdlError("System_Initiate: creating the renderer");
    window_.reset();
    video_.Reset();
    return false;
  }
  // Full screen keeps the desktop's mode; a requested size that differs
  // from it is scaled to fit, mouse positions included.
  int outputWidth = 0, outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight) == 0 &&
      (outputWidth != width || outputHeight != height))
    SDL_RenderSetLogicalSize(renderer.get(), width, height);
  if (!AttachRenderer(std::move(renderer), width, height)) {
    window_.reset();
    video_.Reset();
    return false;
  }
  applyCursor();
  StartSound(MusicPlayer::Clock::Device);

  input_ = InputState{};
  if (!options_.ignoreInput) {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    input_.SetMousePos(static_cast<float>(x), static_cast<float>(y));
    input_.SetMouseOver(SDL_GetMouseFocus() == window_.get());
  }
  focused_ = true;
  // SDL hears of no mapping or unmapping of a foreign window (XScreenSaver
  // may map its window after starting the program), so that one is drawn always.
  visible_ = foreign || (SDL_GetWindowFlags(window_.get()) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
  return true;
}

void SdlEngine::System_Shutdown() {
  StopEverything();
  window_.reset();  // after the renderer
  video_.Reset();
}

void SdlEngine::System_SetState(BoolState state, bool value) {
  SdlEngineCore::System_SetState(state, value);
  if (!window_) return;
  if (state == BoolState::Windowed) SDL_SetWindowFullscreen(window_.get(), value ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (state == BoolState::HideMouse) applyCursor();
}

void SdlEngine::System_SetState(StringState state, const char* value) {
  SdlEngineCore::System_SetState(state, value);
  if (window_ && state == StringState::Title) SDL_SetWindowTitle(window_.get(), states_.title.c_str());
}

void SdlEngine::resized(int width, int height) {
  if (width <= 0 || height <= 0 || (width == states_.screenWidth && height == states_.screenHeight)) return;
  states_.screenWidth = width;
  states_.screenHeight = height;
  Quads().Resize(width, height);
  if (options_.onResize) options_.onResize(width, height);
}

void SdlEngine::setKey(int key, bool down) {
  if (key < 0 || key >= kKeyCount) return;
  input_.SetKey(key, down);
  // Either side's SHIFT, CTRL or ALT holds the shared code.
  const int sides[3][3] = {{kKeyShift, kKeyLeftShift, kKeyRightShift},
                           {kKeyCtrl, kKeyLeftCtrl, kKeyRightCtrl},
                           {kKeyMenu, kKeyLeftMenu, kKeyRightMenu}};
  for (const auto& side : sides)
    if (key == side[1] || key == side[2]) input_.SetKey(side[0], input_.Held(side[1]) || input_.Held(side[2]));
}

bool SdlEngine::userActed(const SDL_Event& event) {
  if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEWHEEL) return true;
  if (event.type != SDL_MOUSEMOTION) return false;
  // Measured from the first position reported, so that the pointer's
  // placement when the show starts does not count.
  if (!pointerSeen_) {
    pointerSeen_ = true;
    pointerStartX_ = event.motion.x;
    pointerStartY_ = event.motion.y;
    return false;
  }
  const int dx = event.motion.x - pointerStartX_;
  const int dy = event.motion.y - pointerStartY_;
  return dx * dx + dy * dy > kPointerSlackPixels * kPointerSlackPixels;
}

bool SdlEngine::handleEvent(const SDL_Event& event) {
  if (options_.endOnInput && userActed(event)) return false;
  switch (event.type) {
    case SDL_QUIT: return false;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: return false;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (options_.onResize) resized(event.window.data1, event.window.data2);
          break;
        case SDL_WINDOWEVENT_ENTER: input_.SetMouseOver(true); break;
        case SDL_WINDOWEVENT_LEAVE: input_.SetMouseOver(false); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: focused_ = true; break;
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED:
          visible_ = false;
          stalled_ = true;
          break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
          visible_ = true;
          stalled_ = true;
          break;
        case SDL_WINDOWEVENT_MAXIMIZED: visible_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Keys released while another window has the focus never report.
          focused_ = false;
          input_.ReleaseAllKeys();
          break;
        default: break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (options_.ignoreInput) break;
      setKey(VirtualKeyFromSdl(event.key.keysym.sym, event.key.keysym.scancode), event.type == SDL_KEYDOWN);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (options_.ignoreInput) break;
      setKey(VirtualKeyFromMouseButton(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEMOTION:
      if (options_.ignoreInput) break;
      input_.SetMousePos(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
      break;
    case SDL_MOUSEWHEEL:
      if (options_.ignoreInput) break;
      input_.AddWheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
      break;
    default: break;
  }
  return true;
}

bool SdlEngine::System_Start() {
  if (!ReadyToStart(window_ != nullptr)) return false;
  using Clock = std::chrono::steady_clock;
  const bool paced = states_.framesPerSecond > 0;
  const auto period = std::max(std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(paced ? 1.0 / states_.framesPerSecond : 0.0)),
                               std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::microseconds(std::max(0L, options_.shortestFrameMicroseconds))));
  const bool waits = period > Clock::duration::zero();
  const float nominalDelta = paced ? 1.0f / static_cast<float>(states_.framesPerSecond) : 0.01f;

  auto frameStart = Clock::now();
  auto nextFrame = frameStart;
  const auto loopStart = frameStart;
  int framesRun = 0;
  int64_t drawsRun = 0;
  bool firstFrame = true;
  for (;;) {
    SDL_Event event;
    bool running = !StopRequested();
    while (running && SDL_PollEvent(&event)) running = handleEvent(event);
    if (!running) break;
    // SDL hears nothing of a foreign window's size; telling it the new size
    // brings the size-changed event the drawing follows.
    if (foreign_.PollResize()) SDL_SetWindowSize(window_.get(), foreign_.Width(), foreign_.Height());
    // Drawing into a destroyed window may fail silently (OpenGL does): the
    // show is over when its window is.
    if (foreign_.Destroyed()) break;

    if (!states_.dontSuspend && !focused_) {
      // Suspended: sleep in the event queue until something happens.
      if (SDL_WaitEventTimeout(&event, kSuspendedWaitMilliseconds) && !handleEvent(event)) break;
      stalled_ = true;
      continue;
    }

    const auto now = Clock::now();
    float delta = std::chrono::duration<float>(now - frameStart).count();
    frameStart = now;
    const bool resumed = TakeResumed();
    if (firstFrame) {
      delta = nominalDelta;
      nextFrame = now;
    } else if ((stalled_ || resumed) && delta > kLongestStallSeconds) {
      delta = kLongestStallSeconds;
    }
    firstFrame = false;
    stalled_ = false;
    delta_ = delta;

    const bool stop = states_.frameFunc();
    if (states_.renderFunc && visible_ && !StopRequested()) {
      states_.renderFunc();
      drawsRun += DrawsInLastFrame();
    }
    input_.EndFrame();
    ++framesRun;
    if (stop) break;

    if (waits) {
      nextFrame += period;
      auto after = Clock::now();
      // Behind by more than a frame: start afresh rather than rushing.
      if (nextFrame + period < after) nextFrame = after;
      // In short naps, so that a stop request ends even a long wait soon.
      while (after < nextFrame && !StopRequested()) {
        std::this_thread::sleep_for(std::min<Clock::duration>(nextFrame - after, kLongestSleep));
        after = Clock::now();
      }
    }
  }
  // The achieved rate, for whoever watches the log: the pacing holds the
  // nominal rate unless drawing takes longer than a frame.
  const double seconds = std::chrono::duration<double>(Clock::now() - loopStart).count();
  if (seconds > 0 && options_.logFrameRate)
    System_Log("Frame loop: %d frames in %.1f s, %.1f frames per second, %.1f draws per frame (%s)", framesRun, seconds,
               framesRun / seconds, framesRun > 0 ? static_cast<double>(drawsRun) / framesRun : 0.0, RendererName());
  return true;
}

}  // namespace

std::unique_ptr<HGE> CreateSdlEngine() { return std::make_unique<SdlEngine>(SdlEngineOptions{}); }

std::unique_ptr<HGE> CreateSdlEngineWithOptions(const SdlEngineOptions& options) {
  return std::make_unique<SdlEngine>(options);
}
