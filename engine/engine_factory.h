// Chooses which engine hgeCreate hands out: the program installs the SDL
// engine, tools the headless one, tests a recording engine of their own.
#pragma once

#include <functional>
#include <memory>

#include "engine/hge.h"

using EngineFactory = std::function<std::unique_ptr<HGE>()>;

// hgeCreate builds the engine with this factory when no engine is live.
void hgeSetFactory(EngineFactory factory);

// hgeCreate hands out this caller-owned engine until hgeUseEngine(nullptr);
// the last Release then leaves it alive. Meant for tests.
void hgeUseEngine(HGE* engine);

// Number of references currently held on the live engine.
int hgeReferenceCount();
