// SDL keys and mouse buttons translated to the Windows virtual-key codes
// that Input_GetKeyState takes.
#pragma once

#include <SDL2/SDL.h>

// The virtual-key code of a key, or -1 for keys without one. Letters and
// digits follow the keyboard layout (the key's symbol); the others follow
// the physical key. Left and right SHIFT, CTRL and ALT give their sided
// codes (0xA0 to 0xA5); the caller folds them into 0x10, 0x11 and 0x12.
int VirtualKeyFromSdl(SDL_Keycode symbol, SDL_Scancode scancode);

// 0x01 left, 0x02 right, 0x04 middle, 0x05 and 0x06 the side buttons; -1 else.
int VirtualKeyFromMouseButton(Uint8 button);

constexpr int kKeyMenu = 0x12;  // either ALT
constexpr int kKeyLeftShift = 0xA0;
constexpr int kKeyRightShift = 0xA1;
constexpr int kKeyLeftCtrl = 0xA2;
constexpr int kKeyRightCtrl = 0xA3;
constexpr int kKeyLeftMenu = 0xA4;
constexpr int kKeyRightMenu = 0xA5;
