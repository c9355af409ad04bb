// The figure list of the composition: construction, entries, figures and
// their scene objects, clearing; and the program's single composition.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include "composition/app_state.h"
#include "composition/composition.h"
#include "composition/figure_animation.h"
#include "composition/fit_scale.h"
#include "scene/scene.h"

SPRITE composition;

SPRITE::SPRITE() = default;

// Runs at program exit, when APP_STATE may already be destroyed (the order of
// static destruction across files is not fixed), so it does not Clear: the
// view reset would read APP_STATE for the fit scale, and nobody looks at the
// view after exit. The figure list frees its entries itself.
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

FigureEntry* SPRITE::CreateFigure(float x, float y, int32_t graphicIndex) {
  char text[16];
  const auto written = std::to_chars(text, text + sizeof text, graphicIndex);
  FigureEntry* entry = AddEntry(std::string_view(text, static_cast<size_t>(written.ptr - text)));
  SPIX* scene = APP_STATE.scene.get();
  if (!scene) return entry;
  SPIX_GRAPHICS* graphic = scene->GraphicsAt(graphicIndex);
  if (!graphic) return entry;
  SPIX_OBJECT* object = scene->AddObject("titile", graphic, x, y, 0);
  object->userData = entry;
  entry->object = object;
  return entry;
}

void SPRITE::DeleteFigure(int i) { figures.DeleteAt(i); }

void SPRITE::Clear() {
  figures.Clear();
  zoom = computeFitScale();
  autoMotion = 1;
  panX = 0;
  panY = 0;
  baseColour = 0;
}

void resetCompositionForTests() {
  composition.Clear();
  for (std::string& formula : composition.formulas) formula.clear();
  composition.a = composition.b = composition.c = composition.d = 0;
  composition.e1 = composition.e2 = composition.f = 0;
  composition.rotationMode = composition.zoomMode = composition.scaleMode = 0;
  composition.brightnessSum = composition.alphaSum = 0;
  composition.zoom = 0;
  composition.autoMotion = 0;
  resetFigureAnimationState();
}
