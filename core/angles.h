// Plane-geometry helpers for turning figures about a centre (single precision).
#pragma once

// Angle in radians of the vector with vertical component a and horizontal
// component b; the third quadrant comes out in -pi..-pi/2.
float vectorAngle(float a, float b);

// Turns (x, y) about (centreX, centreY) by angle radians, clockwise on a
// screen whose y axis points down; the distance to the centre is kept.
void rotateAboutCentre(float& x, float& y, float angle, float centreX, float centreY);
