// The image catalogue table: name, kind and the recipe with its parameters.
#include "tools/imagegen/catalogue.h"

#include <functional>

#include "tools/common/random.h"
#include "tools/imagegen/motifs.h"

namespace imagegen {
namespace {

struct Recipe {
  CatalogueEntry entry;
  std::function<tools::RgbaImage(uint32_t seed)> draw;
};

const std::vector<Recipe>& Recipes() {
  static const double kEchoRadius[] = {0.72}, kEchoWidth[] = {0.03};
  static const double kNimbusRadius[] = {0.55, 0.78}, kNimbusWidth[] = {0.02, 0.012};
  static const double kRippleRadius[] = {0.3, 0.5, 0.68, 0.84}, kRippleWidth[] = {0.02, 0.016, 0.012, 0.008};
  static const std::vector<Recipe> recipes = {
      {{"amber.png", Kind::Glow}, [](uint32_t) { return DrawGlow(128, 0.16, 0.85, 0.45, 0.5); }},
      {{"aster.png", Kind::Petal}, [](uint32_t) { return DrawPetal(96, 128, 1.0, 0.0); }},
      {{"bloom.png", Kind::Star}, [](uint32_t seed) { return DrawStarBurst(256, 14, 0.035, seed); }},
      {{"brook.png", Kind::Brush}, [](uint32_t seed) { return DrawBrushStroke(256, 128, 2, seed); }},
      {{"cairn.png", Kind::Hexagon}, [](uint32_t) { return DrawHexagonGem(128); }},
      {{"cinder.png", Kind::Star}, [](uint32_t) { return DrawSparkle(32, 0.9, 0.0); }},
      {{"comet.png", Kind::Arc}, [](uint32_t) { return DrawCometArc(128, 2.4); }},
      {{"dawn.png", Kind::Ring}, [](uint32_t) { return DrawHalo(256, 0.62, 0.13, 0.12); }},
      {{"dew.png", Kind::Bokeh}, [](uint32_t) { return DrawBokeh(128, 0, 0.38, 0.35); }},
      {{"drift.png", Kind::Feather}, [](uint32_t seed) { return DrawFeather(128, 256, 0.55, 0.25, seed); }},
      {{"echo.png", Kind::Ring}, [](uint32_t) { return DrawRings(128, 1, kEchoRadius, kEchoWidth, 0.3); }},
      {{"elm.png", Kind::Leaf}, [](uint32_t seed) { return DrawLeaf(128, 256, 0.45, 0.12, 0.15, seed); }},
      {{"ember.png", Kind::Glow}, [](uint32_t) { return DrawGlow(64, 0.1, 1.0, 0.3, 0.45); }},
      {{"fable.png", Kind::Spiral}, [](uint32_t) { return DrawSpiralLine(256, 3.5); }},
      {{"fern.png", Kind::Leaf}, [](uint32_t seed) { return DrawFrond(128, 256, seed); }},
      {{"frost.png", Kind::Lattice}, [](uint32_t) { return DrawHoneycomb(256, 6.0); }},
      {{"gale.png", Kind::Brush}, [](uint32_t seed) { return DrawBrushStroke(256, 128, 0, seed); }},
      {{"glint.png", Kind::Star}, [](uint32_t) { return DrawSparkle(128, 0.95, 0.35); }},
      {{"harbor.png", Kind::Crescent}, [](uint32_t) { return DrawCrescent(128, 0.35, 0.0); }},
      {{"hush.png", Kind::Glow}, [](uint32_t) { return DrawGlow(256, 0.3, 0.35, 0.55, 0.35); }},
      {{"iris.png", Kind::Petal}, [](uint32_t) { return DrawPetal(96, 128, 0.5, 0.15); }},
      {{"ivy.png", Kind::Leaf}, [](uint32_t seed) { return DrawLobedLeaf(128, seed); }},
      {{"jade.png", Kind::Hexagon}, [](uint32_t) { return DrawHexagonOutline(128); }},
      {{"lumen.png", Kind::Bokeh}, [](uint32_t) { return DrawBokeh(128, 6, 0.42, 0.3); }},
      {{"lyre.png", Kind::Arc}, [](uint32_t) { return DrawTwinArcs(128); }},
      {{"mist.png", Kind::Ring}, [](uint32_t) { return DrawHalo(128, 0.5, 0.2, 0.3); }},
      {{"moth.png", Kind::Petal}, [](uint32_t) { return DrawPetal(64, 128, 0.0, 0.1); }},
      {{"nectar.png", Kind::Star}, [](uint32_t seed) { return DrawStarBurst(128, 8, 0.05, seed); }},
      {{"nimbus.png", Kind::Ring}, [](uint32_t) { return DrawRings(256, 2, kNimbusRadius, kNimbusWidth, 0.25); }},
      {{"opal.png", Kind::Bokeh}, [](uint32_t) { return DrawBubble(128); }},
      {{"orbit.png", Kind::Spiral}, [](uint32_t) { return DrawDotSpiral(256, 220); }},
      {{"pollen.png", Kind::Star}, [](uint32_t seed) { return DrawPollen(128, 40, seed); }},
      {{"quill.png", Kind::Feather}, [](uint32_t seed) { return DrawFeather(64, 256, 0.5, -0.15, seed); }},
      {{"ripple.png", Kind::Ring}, [](uint32_t) { return DrawRings(256, 4, kRippleRadius, kRippleWidth, 0.15); }},
      {{"sable.png", Kind::Brush}, [](uint32_t seed) { return DrawBrushStroke(256, 128, 1, seed); }},
      {{"sigil.png", Kind::Lattice}, [](uint32_t) { return DrawTriangleLattice(256, 5.0); }},
      {{"sol.png", Kind::Crescent}, [](uint32_t) { return DrawCrescent(256, 0.22, 0.12); }},
      {{"tide.png", Kind::Spiral}, [](uint32_t seed) { return DrawGalaxy(256, 2, seed); }},
      {{"umbra.png", Kind::Glow}, [](uint32_t seed) { return DrawCorona(128, seed); }},
      {{"vale.png", Kind::Leaf}, [](uint32_t seed) { return DrawLeaf(64, 128, 0.6, 0.0, -0.2, seed); }},
      {{"willow.png", Kind::Petal}, [](uint32_t seed) { return DrawRosette(128, 6, seed); }},
      {{"zephyr.png", Kind::Arc}, [](uint32_t) { return DrawThinArc(256, 2.6); }},
  };
  return recipes;
}

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Glow: return "glow";
    case Kind::Ring: return "ring";
    case Kind::Star: return "star";
    case Kind::Petal: return "petal";
    case Kind::Leaf: return "leaf";
    case Kind::Feather: return "feather";
    case Kind::Crescent: return "crescent";
    case Kind::Spiral: return "spiral";
    case Kind::Hexagon: return "hexagon";
    case Kind::Lattice: return "lattice";
    case Kind::Brush: return "brush";
    case Kind::Bokeh: return "bokeh";
    case Kind::Arc: return "arc";
  }
  return "?";
}

const std::vector<CatalogueEntry>& CatalogueEntries() {
  static const std::vector<CatalogueEntry> entries = [] {
    std::vector<CatalogueEntry> list;
    for (const Recipe& recipe : Recipes()) list.push_back(recipe.entry);
    return list;
  }();
  return entries;
}

tools::RgbaImage DrawCatalogueImage(size_t index) {
  const Recipe& recipe = Recipes().at(index);
  return recipe.draw(static_cast<uint32_t>(tools::HashText(recipe.entry.fileName)));
}

}  // namespace imagegen
