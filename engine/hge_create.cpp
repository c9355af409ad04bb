// The process-wide engine instance behind hgeCreate and its reference count.
#include <cstdio>
#include <utility>

#include "engine/engine_factory.h"

namespace {

struct EngineSlot {
  EngineFactory factory;
  std::unique_ptr<HGE> owned;
  HGE* borrowed = nullptr;
  int references = 0;
};

EngineSlot& slot() {
  static EngineSlot instance;
  return instance;
}

HGE* liveEngine() { return slot().borrowed ? slot().borrowed : slot().owned.get(); }

}  // namespace

void hgeSetFactory(EngineFactory factory) { slot().factory = std::move(factory); }

void hgeUseEngine(HGE* engine) {
  slot().borrowed = engine;
  slot().references = 0;
}

int hgeReferenceCount() { return slot().references; }

HGE* hgeCreate(int version) {
  if (version != kHgeVersion) return nullptr;
  if (!liveEngine() && slot().factory) slot().owned = slot().factory();
  HGE* engine = liveEngine();
  if (engine) ++slot().references;
  return engine;
}

void HGE::Release() {
  EngineSlot& s = slot();
  if (s.references > 0) --s.references;
  if (s.references == 0 && s.owned.get() == this) s.owned.reset();
}

void HGE::System_Log(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  WriteLogLine(line);
}
