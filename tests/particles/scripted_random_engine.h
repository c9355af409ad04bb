// A recording engine whose Random_Float can be scripted: it notes every range
// asked for and answers from a queue of values, or by a rule, or else with
// the engine's own generator. Installed as hgeCreate's engine while it lives.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"

class ScriptedRandomEngine : public RecordingEngine {
 public:
  struct Draw {
    float min, max;
  };

  ScriptedRandomEngine() { hgeUseEngine(this); }
  ~ScriptedRandomEngine() override { hgeUseEngine(nullptr); }

  std::vector<Draw> draws;                  // every range asked for, in order
  std::deque<float> answers;                // used first, one per draw
  std::function<float(float, float)> rule;  // then this, when set

  float Random_Float(float min, float max) override {
    draws.push_back({min, max});
    if (!answers.empty()) {
      const float value = answers.front();
      answers.pop_front();
      return value;
    }
    if (rule) return rule(min, max);
    return RecordingEngine::Random_Float(min, max);
  }
};
