// The viewer's process entry: the SDL engine and platform, then the program.
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_platform.h"

int main() {
  hgeSetFactory(CreateSdlEngine);
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  return driftglowMain(*platform);
}
