// The figure list of the composition: construction, entries, figures and
// their scene objects, clearing; and the program's single composition.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include "composition/composition.h"
#include "composition/composition_context.h"
#include "composition/figure_animation.h"
#include "composition/fit_scale.h"
#include "scene/scene.h"

SPRITE composition;

SPRITE::SPRITE() = default;

// The figure list frees its entries itself; the scene objects they point to
// belong to the scene.
SPRITE::~SPRITE() = default;

FigureEntry* SPRITE::AddEntry(std::string_view name) {
  auto entry = std::make_unique<FigureEntry>();
  const size_t length = std::min(name.size(), static_cast<size_t>(FigureEntry::kNameCapacity - 1));
  std::memcpy(entry->name, name.data(), length);
  entry->name[length] = '\0';
  FigureEntry* added = entry.get();
  figures.AddLater(std::string_view(added->name, length), std::move(entry));
  return added;
}

FigureEntry* SPRITE::CreateFigure(SPIX* scene, float x, float y, int32_t graphicIndex) {
  char text[16];
  const auto written = std::to_chars(text, text + sizeof text, graphicIndex);
  FigureEntry* entry = AddEntry(std::string_view(text, static_cast<size_t>(written.ptr - text)));
  if (!scene) return entry;
  SPIX_GRAPHICS* graphic = scene->GraphicsAt(graphicIndex);
  if (!graphic) return entry;
  SPIX_OBJECT* object = scene->AddObject("titile", graphic, x, y, 0);
  object->userData = entry;
  entry->object = object;
  return entry;
}

void SPRITE::DeleteFigure(int i) { figures.DeleteAt(i); }

void SPRITE::Clear(const CompositionContext& context) {
  figures.Clear();
  zoom = computeFitScale(context);
  autoMotion = 1;
  panX = 0;
  panY = 0;
  baseColour = 0;
}

void resetCompositionForTests() {
  composition.figures.Clear();
  for (std::string& formula : composition.formulas) formula.clear();
  composition.a = composition.b = composition.c = composition.d = 0;
  composition.e1 = composition.e2 = composition.f = 0;
  composition.rotationMode = composition.zoomMode = composition.scaleMode = 0;
  composition.brightnessSum = composition.alphaSum = 0;
  composition.zoom = 0;
  composition.autoMotion = 0;
  composition.panX = composition.panY = 0;
  composition.baseColour = 0;
  resetFigureAnimationState();
}
