// The viewer's process entry: the SDL engine and platform, then the program.
#include <cstdio>
#include <string_view>

#include "app/startup.h"
#include "core/version.h"
#include "engine/engine_factory.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/stop_signals.h"

int main(int argc, char** argv) {
  // --version is answered before anything starts; other arguments are not read.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::fputs(versionText("driftglow").c_str(), stdout);
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
  return driftglowMain(*platform);
}
