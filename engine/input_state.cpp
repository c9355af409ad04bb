// Held keys, presses not yet reported, the pointer and the wheel.
#include "engine/input_state.h"

namespace {
bool validKey(int key) { return key >= 0 && key < kKeyCount; }
}  // namespace

void InputState::SetKey(int key, bool down) {
  if (!validKey(key)) return;
  held_[key] = down;
  if (down) pressed_[key] = true;
}

void InputState::SetHeld(int key, bool down) {
  if (!validKey(key)) return;
  held_[key] = down;
  pressed_[key] = false;
}

void InputState::ReleaseAllKeys() {
  for (bool& key : held_) key = false;
}

void InputState::SetMousePos(float x, float y) {
  mouseX_ = x;
  mouseY_ = y;
}

void InputState::EndFrame() {
  for (bool& key : pressed_) key = false;
  wheel_ = 0;
}

bool InputState::KeyState(int key) const { return validKey(key) && (held_[key] || pressed_[key]); }

bool InputState::Held(int key) const { return validKey(key) && held_[key]; }

void InputState::MousePos(float* x, float* y) const {
  if (x) *x = mouseX_;
  if (y) *y = mouseY_;
}
