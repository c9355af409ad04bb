// driftglow-saver: the viewer's automatic show as an XScreenSaver program, and
// as Driftglow.scr, a Windows screensaver.
// The same start-up, composition, frame and render functions as the viewer,
// on an SDL engine that draws into the window it is handed and hears no keys,
// so neither the question nor the help overlay ever appears. It says nothing
// on standard error unless something is wrong.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/app_state.h"
#include "app/frame.h"
#include "app/saver_options.h"
#include "app/screen_keeper.h"
#include "app/startup.h"
#include "app/user_folders.h"
#include "core/data_folder.h"
#include "core/version.h"
#include "engine/engine_factory.h"
#include "engine/fixed_desktop_platform.h"
#include "engine/program_folder.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/stop_signals.h"
#include "engine/sdl/x11_window.h"

namespace fs = std::filesystem;

namespace {

// The size of a window of the saver's own, as XScreenSaver's demo mode shows it.
constexpr DesktopSize kOwnWindowSize{800, 600};

// The name the program was started by (it is installed as "driftglow" for
// XScreenSaver), for its messages.
std::string programName(const char* argument0) {
  const std::string name = argument0 && *argument0 ? fs::path(argument0).filename().string() : std::string();
  return name.empty() ? "driftglow-saver" : name;
}

}  // namespace

int main(int argc, char** argv) {
  // XScreenSaver ends its programs with SIGTERM: the show then stops drawing
  // and ends (after loading, when it arrives during it), exit code 0.
  InstallStopSignals();
  const std::string name = programName(argc > 0 ? argv[0] : nullptr);
  const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  SaverOptions options;
  const std::string error = parseSaverCommandLine(arguments, options);
  if (!error.empty()) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(saverUsage(name).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(versionText(name).c_str(), stdout);
    return 0;
  }
  if (options.settings) {
    CreateSdlPlatform()->ShowMessage("Driftglow has no settings.", "Driftglow", kMbOk);
    return 0;
  }

  // The installed data beside the program, else where the installer says it
  // put it (a copy in Windows' system folder), else the build's run folder
  // (none in the Windows build).
  const std::string dataFolder =
      findDataFolder({FolderBesideProgram(DRIFTGLOW_DATA_FROM_SAVER), RegisteredProgramFolder(), DRIFTGLOW_RUN_DIR});
  std::error_code code;
  if (!dataFolder.empty()) fs::current_path(dataFolder, code);
  if (dataFolder.empty() || code) {
    const std::string runFolder = DRIFTGLOW_RUN_DIR;
    std::fprintf(stderr, "%s: no data folder with pix/ (looked beside the program and in %s)\n", name.c_str(),
                 runFolder.empty() ? "the installed folder" : runFolder.c_str());
    return 1;
  }

  // The window is looked up before anything starts, so that a wrong id ends
  // with a plain message.
  SdlEngineOptions engineOptions;
  DesktopSize area = kOwnWindowSize;
  if (options.target == SaverOptions::Target::FullScreen) {
    area = CreateSdlPlatform()->GetDesktopSize();
    engineOptions.endOnInput = true;
  } else if (options.target != SaverOptions::Target::OwnWindow) {
    ForeignXWindow window;
    std::string reason;
    if (!window.Open(options.target == SaverOptions::Target::GivenWindow ? options.windowId : 0, &reason)) {
      std::fprintf(stderr, "%s: %s\n", name.c_str(), reason.c_str());
      return 1;
    }
    engineOptions.foreignWindow = window.Id();
    area = {window.Width(), window.Height()};
  }

  // Messages go to standard error, never into a box over the locked screen;
  // the area drawn into stands in for the desktop.
  FixedDesktopPlatform platform(name, area);
  engineOptions.resizable = true;
  engineOptions.ignoreInput = true;
  engineOptions.shortestFrameMicroseconds = options.delayMicroseconds;
  engineOptions.showFrameRate = options.showFrameRate;
  engineOptions.logFrameRate = false;
  // A new size makes a new canvas of that size, filled by a new screen.
  engineOptions.onResize = [&platform](int width, int height) {
    platform.SetDesktopSize({width, height});
    APP_STATE.screenWidth = static_cast<float>(width);
    APP_STATE.screenHeight = static_cast<float>(height);
    newScreen();
  };
  hgeSetFactory([&engineOptions] { return CreateSdlEngineWithOptions(engineOptions); });

  StartupOptions startup;
  startup.askFullScreen = false;
  startup.sound = options.sound;
  startup.takeWholeScreen = options.target == SaverOptions::Target::FullScreen;
  // Without --favourites the saver keeps nothing and shows random screens.
  std::unique_ptr<ScreenKeeper> keeper;
  if (options.favourites) {
    KeeperOptions keeping;
    keeping.favouritesPath = favouritesPath(processEnvironment());
    keeping.fromFavourites = true;
    keeping.printScreens = false;
    keeping.interactive = false;
    keeper = std::make_unique<ScreenKeeper>(keeping);
  }
  const int exitCode = driftglowMain(platform, startup, keeper.get());
  return exitCode != 0 || platform.Failed() ? 1 : 0;
}
