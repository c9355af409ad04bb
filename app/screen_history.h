// ScreenHistory: the screens shown lately, by their seeds and motion modes,
// so that going back rebuilds one exactly as it was first made. Standard
// library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

// What makes a screen again: its three seeds (structure, colour,
// parameters) and the composition's three automatic motion modes.
struct ScreenRecord {
  int32_t seeds[3] = {0, 0, 0};
  int32_t rotationMode = 0;
  int32_t zoomMode = 0;
  int32_t scaleMode = 0;

  bool SameSeeds(const ScreenRecord& other) const {
    return seeds[0] == other.seeds[0] && seeds[1] == other.seeds[1] && seeds[2] == other.seeds[2];
  }
};

class ScreenHistory {
 public:
  static constexpr size_t kLimit = 100;

  // A new screen is on the screen. When the one shown was reached by going
  // back, it is remembered again as the newest first, so that going back
  // from the new screen returns to it; the oldest beyond the limit are dropped.
  void Add(const ScreenRecord& screen);
  // The screen before the one shown, which becomes the one shown; null when
  // there is none.
  const ScreenRecord* Back();
  // The screen shown; null before the first.
  const ScreenRecord* Current() const;
  // The motion modes of the screen shown changed (the automatic generator
  // draws them right after making it).
  void SetCurrentModes(int32_t rotationMode, int32_t zoomMode, int32_t scaleMode);
  size_t Size() const { return screens_.size(); }

 private:
  std::deque<ScreenRecord> screens_;  // oldest first
  size_t current_ = 0;                // index of the screen shown, when any
};
