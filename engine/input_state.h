// Keyboard and mouse as the engine reports them to the program, and the
// input half of the engine interface answered from them. The windowed
// engine fills the state from its events, the headless and recording
// engines from a script; all three answer the Input_* calls the same way.
#pragma once

#include "engine/hge.h"

class InputState {
 public:
  // The key (a virtual-key code; others are ignored) went down or up. A key
  // that goes down and up again before the current frame ends is reported
  // held until it ends, so a press shorter than a frame is not lost.
  void SetKey(int key, bool down);
  // Sets what is held, with no memory of presses: for scripts that state
  // the keys as a frame should see them.
  void SetHeld(int key, bool down);
  // Every key up, as when another window takes the keyboard. Presses not
  // yet reported still are, in the current frame.
  void ReleaseAllKeys();
  void SetMousePos(float x, float y);
  void SetWheel(int wheel) { wheel_ = wheel; }
  void AddWheel(int movement) { wheel_ += movement; }
  void SetMouseOver(bool over) { mouseOver_ = over; }
  // A frame has ended: presses already released are forgotten, and the
  // wheel's movement starts again from 0.
  void EndFrame();

  // Held, or pressed since the last frame ended.
  bool KeyState(int key) const;
  // Held now, whatever happened before.
  bool Held(int key) const;
  void MousePos(float* x, float* y) const;
  int Wheel() const { return wheel_; }
  bool MouseOver() const { return mouseOver_; }

 private:
  bool held_[kKeyCount] = {};
  bool pressed_[kKeyCount] = {};  // went down since the last frame ended
  float mouseX_ = 0, mouseY_ = 0;
  int wheel_ = 0;
  bool mouseOver_ = true;
};

// An engine whose Input_* calls read one InputState.
class InputEngine : public HGE {
 public:
  void Input_GetMousePos(float* x, float* y) final { input_.MousePos(x, y); }
  int Input_GetMouseWheel() final { return input_.Wheel(); }
  bool Input_IsMouseOver() final { return input_.MouseOver(); }
  bool Input_GetKeyState(int key) final { return input_.KeyState(key); }

 protected:
  InputState input_;
};
