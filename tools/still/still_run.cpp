// driftglow-still's run: data folder, headless engine, catalogue, the screen
// from its seeds, the JSON description, the video of its frames and the PNG
// after the last one.
#include "tools/still/still_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "app/app_state.h"
#include "app/frame.h"
#include "app/render.h"
#include "app/screen_json.h"
#include "app/texture_catalogue.h"
#include "composition/composition.h"
#include "composition/screen_seeds.h"
#include "core/data_folder.h"
#include "core/seeded_random.h"
#include "core/version.h"
#include "engine/engine_factory.h"
#include "engine/fixed_desktop_platform.h"
#include "engine/platform.h"
#include "engine/program_folder.h"
#include "engine/sdl/headless_engine.h"
#include "scene/scene.h"
#include "tools/common/interrupt_watch.h"
#include "tools/still/still_files.h"
#include "tools/still/still_memory.h"
#include "tools/still/still_motion.h"
#include "tools/still/still_video.h"

namespace fs = std::filesystem;

namespace {

void report(const std::string& message) { std::fprintf(stderr, "driftglow-still: %s\n", message.c_str()); }

// The folder given, else the working directory when it holds pix/, else the
// installed data folder beside this program, else the build's run folder.
// Empty when that folder or its pix/ does not exist.
fs::path stillDataFolder(const StillOptions& options, std::string& error) {
  std::error_code code;
  fs::path folder = options.dataDir;
  if (folder.empty()) {
    const std::string found =
        findDataFolder({fs::current_path(code).string(), FolderBesideProgram(DRIFTGLOW_DATA_FROM_BIN)});
    folder = found.empty() ? fs::path(DRIFTGLOW_RUN_DIR) : fs::path(found);
  }
  if (!fs::is_directory(folder, code)) {
    error = "data folder '" + folder.string() + "' not found (give --data DIR)";
    return {};
  }
  // The viewer shows an empty screen without images; a picture of nothing
  // here means the wrong folder, so it is refused.
  if (!fs::is_directory(folder / "pix", code)) {
    error = "data folder '" + folder.string() + "' holds no pix/ folder (give --data DIR)";
    return {};
  }
  return fs::absolute(folder, code);
}

int makeStill(const StillOptions& options, HeadlessEngine& engine, const fs::path& pngPath, const std::string& jsonPath,
              const std::string& videoPath, InterruptWatch* interrupts) {
  // Checked between the steps; the video checks between its frames too.
  StillVideo video(engine, interrupts);
  bool videoDone = false;
  auto interrupted = [&]() -> int {
    if (!interrupts || !interrupts->Signal()) return 0;
    if (!videoPath.empty() && !videoDone) video.Interrupted();
    interrupts->EndNow("interrupted");
  };
  if (!engine.System_Initiate()) {
    report(std::string("headless engine: ") + engine.System_GetErrorMessage());
    return options.renderer == "opengl" ? kStillBadRequest : kStillFailed;
  }
  // The sound track and the video file come first, so that a wrong track
  // name or a folder that can't be written is reported before any work.
  if (!videoPath.empty()) {
    const int prepared = video.Prepare(options, videoPath);
    if (prepared != kStillOk) return prepared;
  }
  if (const int stopped = interrupted()) return stopped;
  APP_STATE.screenWidth = static_cast<float>(options.width);
  APP_STATE.screenHeight = static_cast<float>(options.height);
  APP_STATE.windowScale = 1;
  APP_STATE.scene = std::make_unique<SPIX>();
  APP_STATE.scene->noSpatialIndex = true;
  // The pack holds only the overlay's fonts, which a still never draws; a
  // data folder without it is fine and should not make the engine complain.
  std::error_code code;
  if (fs::exists("Graphics.paq", code)) engine.Resource_AttachPack("Graphics.paq");
  if (loadTextureCatalogue()) {
    report("can't load the graphics of the catalogue (pix/*.png)");
    return kStillFailed;
  }
  if (const int stopped = interrupted()) return stopped;

  // A fresh viewer's first screen: reset, seeds, generate, then the three
  // automatic motion modes drawn right after it.
  resetScreen();
  buildScreenFromSeeds(compositionContext(), options.seeds[0], options.seeds[1], options.seeds[2]);
  composition.rotationMode = structureRandom.drawLarge(2);
  composition.zoomMode = structureRandom.drawLarge(2);
  composition.scaleMode = structureRandom.drawLarge(2);

  std::string error;
  if (const int stopped = interrupted()) return stopped;
  if (!jsonPath.empty() &&
      !writeStillText(jsonPath, screenJson(APP_STATE.scene.get(), options.seeds, options.width, options.height),
                      error)) {
    report(error);
    return kStillFailed;
  }
  if (!videoPath.empty()) {
    // Every frame is drawn; the target then holds the last one, the picture.
    const int made = video.Run();
    if (made != kStillOk) return made;
    videoDone = true;
  } else {
    if (pngPath.empty()) return kStillOk;
    // Drawing changes nothing that a later frame reads, so for the picture
    // alone only the last frame is drawn.
    for (int frame = 0; frame < options.frames; ++frame) {
      if (const int stopped = interrupted()) return stopped;
      animateStillFrame(engine);
    }
    renderFunction();
  }
  if (pngPath.empty()) return kStillOk;
  if (const int stopped = interrupted()) return stopped;
  // What made the picture travels with it, so that it can be made again.
  const std::string seeds = seedsText(options);
  const std::vector<tools::PngText> texts = {
      {"Software", std::string("driftglow-still ") + driftglowVersion()},
      {"Seeds", seeds},
      {"Size", std::to_string(options.width) + "x" + std::to_string(options.height)},
      {"Frames", std::to_string(options.frames)}};
  if (!writeStillPng(engine, pngPath.string(), texts, error)) {
    report(error);
    return kStillFailed;
  }
  return kStillOk;
}

}  // namespace

int runStill(const StillOptions& options, InterruptWatch* interrupts) {
  std::string error = stillMemoryRefusal(options, stillMemoryNeed(options), stillMemoryLimit());
  if (!error.empty()) {
    report(error);
    return kStillBadRequest;
  }
  const fs::path dataFolder = stillDataFolder(options, error);
  if (dataFolder.empty()) {
    report(error);
    return kStillBadRequest;
  }
  // Outputs are named from where the tool was started; the catalogue is read
  // from the data folder, which becomes the working directory.
  std::error_code code;
  const fs::path pngPath = options.pngPath.empty() ? fs::path() : fs::absolute(options.pngPath, code);
  const std::string jsonPath = options.jsonPath.empty() || options.jsonPath == "-"
                                   ? options.jsonPath
                                   : fs::absolute(options.jsonPath, code).string();
  const std::string videoPath = options.videoPath.empty() ? "" : fs::absolute(options.videoPath, code).string();
  fs::current_path(dataFolder, code);
  if (code) {
    report("can't enter the data folder '" + dataFolder.string() + "'");
    return kStillBadRequest;
  }

  // The canvas is 960 × 960 in the viewer's window, which fits any desktop of
  // 1020 pixels or more at zoom 1; any other canvas is a full screen of that
  // size, whose first zoom is the fit scale of that desktop.
  FixedDesktopPlatform platform("driftglow-still", {options.width, options.height});
  const bool windowCanvas = options.width == 960 && options.height == 960;
  APP_STATE.platform = windowCanvas ? nullptr : &platform;

  const HeadlessRenderer renderer = options.renderer == "software" ? HeadlessRenderer::Software
                                    : options.renderer == "opengl" ? HeadlessRenderer::OpenGL
                                                                   : HeadlessRenderer::Auto;
  HeadlessEngine headless(options.width, options.height, renderer);
  hgeUseEngine(&headless);
  APP_STATE.engine = hgeCreate(kHgeVersion);
  const int result = makeStill(options, headless, pngPath, jsonPath, videoPath, interrupts);
  headless.System_Shutdown();
  // Figures, scene and fonts hold engine references; they go before the engine.
  resetScreen();
  APP_STATE = AppState{};
  hgeUseEngine(nullptr);
  return result;
}
