// The per-frame update: keys, the automatic generator, the music and the
// screen clock; and the two steps that replace a screen.
#pragma once

// Registered as the engine's frame function; returns true to end the program.
bool frameFunction();

// Empties the current screen and restarts its clock and key lock.
void resetScreen();

// Resets, reseeds the three screen generators and builds a new screen.
void newScreen();
