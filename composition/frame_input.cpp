// readFrameInput: one pass over the engine's input state.
#include "composition/frame_input.h"

#include "engine/hge.h"

FrameInput readFrameInput(HGE& engine, float windowScale) {
  FrameInput input;
  engine.Input_GetMousePos(&input.mouseX, &input.mouseY);
  input.mouseX /= windowScale;
  input.mouseY /= windowScale;
  input.wheel = engine.Input_GetMouseWheel();
  input.mouseOver = engine.Input_IsMouseOver();
  input.leftButton = engine.Input_GetKeyState(kKeyLeftButton);
  input.rightButton = engine.Input_GetKeyState(kKeyRightButton);
  input.shift = engine.Input_GetKeyState(kKeyShift);
  input.ctrl = engine.Input_GetKeyState(kKeyCtrl);
  input.keyW = engine.Input_GetKeyState(kKeyW);
  input.keyS = engine.Input_GetKeyState(kKeyS);
  input.keyA = engine.Input_GetKeyState(kKeyA);
  input.keyD = engine.Input_GetKeyState(kKeyD);
  input.keyQ = engine.Input_GetKeyState(kKeyQ);
  input.keyE = engine.Input_GetKeyState(kKeyE);
  input.keyX = engine.Input_GetKeyState(kKeyX);
  input.keyN = engine.Input_GetKeyState(kKeyN);
  input.keyU = engine.Input_GetKeyState(kKeyU);
  input.keyP = engine.Input_GetKeyState(kKeyP);
  input.keyF = engine.Input_GetKeyState(kKeyF);
  input.keyB = engine.Input_GetKeyState(kKeyB);
  input.keyBackspace = engine.Input_GetKeyState(kKeyBackspace);
  return input;
}
