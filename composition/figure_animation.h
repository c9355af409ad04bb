// The per-frame animation's own state: the last mouse position, from which
// right-button dragging measures its movement.
#pragma once

// Forgets the last mouse position (back to (0, 0), as at start-up).
void resetFigureAnimationState();
