// The viewer's process entry: its command line, the SDL engine and platform,
// the keeper of its screens, then the program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/screen_keeper.h"
#include "app/startup.h"
#include "app/user_folders.h"
#include "app/viewer_options.h"
#include "core/version.h"
#include "engine/engine_factory.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/stop_signals.h"

int main(int argc, char** argv) {
  ViewerOptions options;
  const std::string error = parseViewerOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (!error.empty()) {
    std::fprintf(stderr, "driftglow: %s\n", error.c_str());
    return 2;
  }
  if (options.help || options.version) {
    std::fputs(options.help ? viewerUsage().c_str() : versionText("driftglow").c_str(), stdout);
    return 0;
  }

  // SIGTERM and SIGINT end the viewer as X does, in every state, exit code 0.
  InstallStopSignals();
  SdlEngineOptions engineOptions;
  // The viewer runs in its data folder: the build's run folder holds the
  // icons, an installation has them in the icon theme beside the data.
  engineOptions.iconFiles = {"icons/driftglow-128.png", "../icons/hicolor/128x128/apps/driftglow.png"};
  hgeSetFactory([&engineOptions] { return CreateSdlEngineWithOptions(engineOptions); });
  std::unique_ptr<Platform> platform = CreateSdlPlatform();

  StartupOptions startup;
  if (options.display != ViewerOptions::Display::Ask)
    startup.fullScreenAnswer = options.display == ViewerOptions::Display::FullScreen ? kIdYes : kIdNo;
  const EnvironmentLookup environment = processEnvironment();
  KeeperOptions keeping;
  keeping.picturesFolder = picturesFolder(environment);
  keeping.favouritesPath = favouritesPath(environment);
  keeping.fromFavourites = options.favourites;
  keeping.haveFirstSeeds = options.haveSeeds;
  for (int i = 0; i < 3; ++i) keeping.firstSeeds[i] = options.seeds[i];
  ScreenKeeper keeper(keeping);
  return driftglowMain(*platform, startup, &keeper);
}
