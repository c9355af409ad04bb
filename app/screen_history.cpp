// ScreenHistory: a bounded list of screens with a position walking back.
#include "app/screen_history.h"

void ScreenHistory::Add(const ScreenRecord& screen) {
  if (!screens_.empty() && current_ + 1 < screens_.size()) screens_.push_back(screens_[current_]);
  screens_.push_back(screen);
  while (screens_.size() > kLimit) screens_.pop_front();
  current_ = screens_.size() - 1;
}

const ScreenRecord* ScreenHistory::Back() {
  if (screens_.empty() || current_ == 0) return nullptr;
  --current_;
  return &screens_[current_];
}

const ScreenRecord* ScreenHistory::Current() const { return screens_.empty() ? nullptr : &screens_[current_]; }

void ScreenHistory::SetCurrentModes(int32_t rotationMode, int32_t zoomMode, int32_t scaleMode) {
  if (screens_.empty()) return;
  ScreenRecord& screen = screens_[current_];
  screen.rotationMode = rotationMode;
  screen.zoomMode = zoomMode;
  screen.scaleMode = scaleMode;
}
