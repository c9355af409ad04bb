// The viewer's process entry: the SDL engine and platform, then the program.
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/stop_signals.h"

int main() {
  // SIGTERM and SIGINT end the viewer as X does, in every state, exit code 0.
  InstallStopSignals();
  hgeSetFactory(CreateSdlEngine);
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  return driftglowMain(*platform);
}
