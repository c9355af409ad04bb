// EngineRef: one reference on the process's engine, taken with hgeCreate when
// the holder is made and given back with Release when it goes, so that every
// sprite, font and particle system keeps the engine alive while it exists.
#pragma once

#include "engine/hge.h"

class EngineRef {
 public:
  EngineRef() : engine_(hgeCreate(kHgeVersion)) {}
  // A copy takes a reference of its own, on whatever engine is live now.
  EngineRef(const EngineRef&) : EngineRef() {}
  // Assignment keeps the reference this holder already has.
  EngineRef& operator=(const EngineRef&) { return *this; }
  ~EngineRef() {
    if (engine_) engine_->Release();
  }

  // Null when no engine could be made.
  HGE* get() const { return engine_; }
  HGE* operator->() const { return engine_; }
  HGE& operator*() const { return *engine_; }
  explicit operator bool() const { return engine_ != nullptr; }

 private:
  HGE* engine_;
};
