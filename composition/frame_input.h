// FrameInput: the keyboard and mouse as one frame sees them. The frame
// function reads them once and hands the value to the composition's step
// and its own key handling, so nothing below it asks the engine for input.
#pragma once

class HGE;

struct FrameInput {
  float mouseX = 0, mouseY = 0;  // pointer in canvas units
  int wheel = 0;                 // wheel movement of the frame, positive away from the user
  bool mouseOver = false;        // pointer over the window
  bool leftButton = false;
  bool rightButton = false;
  bool shift = false;
  bool ctrl = false;
  // The letter keys the viewer answers to.
  bool keyW = false, keyS = false, keyA = false, keyD = false, keyQ = false, keyE = false;
  bool keyX = false, keyN = false, keyU = false;
  bool keyP = false, keyF = false, keyB = false, keyBackspace = false;
};

// Reads every field from the engine; the pointer's window pixels are divided
// by windowScale to give canvas units.
FrameInput readFrameInput(HGE& engine, float windowScale);
