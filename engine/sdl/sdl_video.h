// Starting SDL's video on a real display. SDL 2.26 falls back to its
// invisible "offscreen" driver when no display exists; that counts as no
// display here unless SDL_VIDEODRIVER asks for it by name.
#pragma once

#include <string>

#include "engine/sdl/sdl_handles.h"

// Takes a reference on the video and event subsystems; false with the
// reason in *error (and no reference held) when no display can be used.
bool InitDisplayVideo(SubsystemReference& video, std::string* error);

// The display holding the mouse pointer, where the user is looking: the
// display a full-screen window fills and the desktop the program measures.
// 0 when there is only one or the pointer is on none. Video must be up.
int PointerDisplay();

// The index of SDL's render driver of this name ("opengl", "direct3d",
// "software", ...), for SDL_CreateRenderer; -1 (SDL's own choice) when this
// build of SDL has none of that name.
int RenderDriverIndex(const char* name);
