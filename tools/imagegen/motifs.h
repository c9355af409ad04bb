// The drawing recipes of the image catalogue, one function per kind of
// motif. Every image is white to grey with straight alpha, so the viewer's
// tints give it its colour, and every one fades out before its border.
#pragma once

#include <cstdint>

#include "tools/common/png_file.h"

namespace imagegen {

using tools::RgbaImage;

// Soft radial glow: a core and a wide halo, each a Gaussian (widths in
// half-image units) with its own strength.
RgbaImage DrawGlow(int size, double coreWidth, double coreStrength, double haloWidth, double haloStrength);
// Dim disc with a streaky bright corona around it.
RgbaImage DrawCorona(int size, uint32_t seed);
// Rings at the given radii, each with a crisp line and a faint glow; count 1..4.
RgbaImage DrawRings(int size, int count, const double* radii, const double* lineWidths, double glow);
// Wide soft halo ring with a faint filled inside.
RgbaImage DrawHalo(int size, double radius, double width, double fill);
// Star burst: rays of random length around a bright core.
RgbaImage DrawStarBurst(int size, int rays, double rayWidth, uint32_t seed);
// Four-pointed sparkle with thinner diagonals and an optional faint ring.
RgbaImage DrawSparkle(int size, double armLength, double ring);
// Cluster of small soft dots of different sizes.
RgbaImage DrawPollen(int size, int dots, uint32_t seed);
// One petal pointing up; roundness 0 gives a narrow lance, 1 a wide round tip.
RgbaImage DrawPetal(int width, int height, double roundness, double bend);
// A flower of several petals around a small centre.
RgbaImage DrawRosette(int size, int petals, uint32_t seed);
// A leaf with midrib and side veins; serration 0 for a smooth edge.
RgbaImage DrawLeaf(int width, int height, double breadth, double serration, double bend, uint32_t seed);
// Three lobes sharing one stalk.
RgbaImage DrawLobedLeaf(int size, uint32_t seed);
// A fern frond: a curved stem with alternating leaflets.
RgbaImage DrawFrond(int width, int height, uint32_t seed);
// A feather with shaft, barbs, splits and downy base.
RgbaImage DrawFeather(int width, int height, double breadth, double bend, uint32_t seed);
// Crescent moon with a soft glow; earthshine > 0 adds a faint full disc.
RgbaImage DrawCrescent(int size, double offset, double earthshine);
// Archimedean spiral line, thickening outwards.
RgbaImage DrawSpiralLine(int size, double turns);
// Sunflower arrangement of dots at the golden angle.
RgbaImage DrawDotSpiral(int size, int dots);
// Logarithmic spiral arms around a core, like a small galaxy.
RgbaImage DrawGalaxy(int size, int arms, uint32_t seed);
// Faceted filled hexagon with a brighter rim.
RgbaImage DrawHexagonGem(int size);
// Two nested hexagon outlines with a glow.
RgbaImage DrawHexagonOutline(int size);
// Honeycomb lattice fading out towards the edge.
RgbaImage DrawHoneycomb(int size, double cells);
// Triangular lattice of thin lines with dots at the crossings.
RgbaImage DrawTriangleLattice(int size, double cells);
// Brush stroke with bristle streaks and a dry end; shape 0 straight sweep,
// 1 arc, 2 wave.
RgbaImage DrawBrushStroke(int width, int height, int shape, uint32_t seed);
// Bokeh disc: translucent inside, brighter rim; sides 0 for round, 6 for a hexagonal aperture.
RgbaImage DrawBokeh(int size, int sides, double fill, double rim);
// Soap bubble: thin rim, almost clear inside, two highlights.
RgbaImage DrawBubble(int size);
// Comet arc: a bright head and a tapering tail along a circle.
RgbaImage DrawCometArc(int size, double spanRadians);
// Two thin arcs facing each other.
RgbaImage DrawTwinArcs(int size);
// One long thin arc with soft ends.
RgbaImage DrawThinArc(int size, double spanRadians);

}  // namespace imagegen
