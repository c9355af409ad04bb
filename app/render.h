// The per-frame drawing: the scene, the particles and the help overlay.
#pragma once

// Registered as the engine's render function; always returns false.
bool renderFunction();
