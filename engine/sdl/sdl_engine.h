// The windowed or full-screen engine on SDL2: window, paced frame loop,
// keyboard and mouse, on top of the shared SDL drawing and sound.
#pragma once

#include <memory>

#include "engine/hge.h"

// A new, not yet initiated engine. Its frame loop also ends once SIGTERM or
// SIGINT has arrived, when InstallStopSignals was called.
std::unique_ptr<HGE> CreateSdlEngine();
