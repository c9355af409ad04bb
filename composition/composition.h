// SPRITE, the composition of the current screen: its figure list, formula
// texts, parameters, base colour and view state; FigureEntry, the record of
// one figure; and `composition`, the single instance. Needs the scene and the
// evaluator; what it reads of the application comes in a CompositionContext.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/calc_columns.h"
#include "scene/owned_name_list.h"

class SPIX;
class SPIX_OBJECT;
struct CompositionContext;
struct FrameInput;

// One figure: the decimal text of its graphic index and the scene object that
// shows it. The object belongs to the scene and points back here through its
// userData.
struct FigureEntry {
  static constexpr int kNameCapacity = 108;  // at most 107 characters and a zero
  char name[kNameCapacity] = {};
  SPIX_OBJECT* object = nullptr;  // not owned; null when the figure has no object
};

class SPRITE {
 public:
  static constexpr int kFormulaCount = 20;

  SPRITE();
  SPRITE(const SPRITE&) = delete;
  SPRITE& operator=(const SPRITE&) = delete;
  ~SPRITE();

  // Sorted by name, case-sensitive, equal names kept (a new one goes before
  // them). The composition owns every FigureEntry in it.
  OwnedNameList<FigureEntry> figures{NameListOrder::Sorted};
  // Formula 0..9 are written by Generate; 10..19 stay empty.
  std::array<std::string, kFormulaCount> formulas;
  float a = 0, b = 0, c = 0, d = 0, e1 = 0, e2 = 0, f = 0;  // the screen's parameters
  float panX = 0, panY = 0;                                 // view pan in scene units (right-button dragging)
  int32_t rotationMode = 0;                                 // 0 none, 1 positive, 2 negative
  int32_t zoomMode = 0;                                     // 0 none, 1 zoom out, 2 zoom in
  int32_t scaleMode = 0;                                    // 0 none, 1 grow, 2 shrink
  uint32_t baseColour = 0;                                  // ARGB
  // Colour check: 0 or more while summing, -1 apply the base colour, -2 over.
  float brightnessSum = 0;
  float alphaSum = 0;
  float zoom = 0;          // view zoom handed to the engine transform every frame
  int32_t autoMotion = 0;  // 1 until the user turns the mouse wheel over the window

  // --- Figure list (figure_list.cpp) ----------------------------------------
  // Files a new entry under name (cut to 107 characters) without an object.
  FigureEntry* AddEntry(std::string_view name);
  // An entry named after graphicIndex and, when scene is given and has that
  // graphic, a "titile" object at (x, y) showing it, linked both ways.
  FigureEntry* CreateFigure(SPIX* scene, float x, float y, int32_t graphicIndex);
  // Frees the entry at list position i; outside the list nothing happens.
  // Careful: the scene object is neither removed nor unlinked, so its userData
  // dangles until the scene's objects are cleared (resetScreen clears them first).
  void DeleteFigure(int i);
  // Forgets every figure and resets the view: zoom from computeFitScale,
  // automatic motion on, no pan, base colour 0. Formulas, parameters, modes
  // and the colour-check sums stay.
  void Clear(const CompositionContext& context);

  // --- Formula generator (formula_generator.cpp) ----------------------------
  // Builds a screen from structureRandom, colourRandom and paramRandom, which
  // the caller has just seeded, after a reset (see screen_seeds.h), on the
  // context's canvas and scene.
  void Generate(const CompositionContext& context);
  // The steps of Generate, in its order; public so that each can be checked.
  void GenerateFormulaTexts();                                 // formula 0..9 from structureRandom
  void GenerateColourPlan();                                   // baseColour and formula 5..8 from colourRandom
  void GenerateParameters(const CompositionContext& context);  // a..f from paramRandom and the canvas size
  // Runs formula 0..8 at every grid point and creates the figures; then lowers
  // zoom for large figures and arms the colour check. No figures without graphics.
  void SampleGrid(const CompositionContext& context);

  // --- Per-frame animation (figure_animation.cpp) ---------------------------
  // Sets the view, runs the automatic motion and the viewing controls from
  // input, turns and scales every figure and runs the colour check;
  // frameTime is not used (every rate is per frame). Returns true when the
  // wheel was turned over the window: the caller then switches the automatic
  // generator off. Allocates nothing once the scene's query list has held the figures.
  bool Animate(float frameTime, const FrameInput& input, const CompositionContext& context);

 private:
  // SampleGrid's column runner, kept from screen to screen: its column blocks
  // are too large for the allocator to hold on to, so a runner made for each
  // screen would fault all their pages in again every time.
  CalcColumns columns_;
};

// The composition of the running program.
extern SPRITE composition;

// Puts the composition back to its initial state (no figures, empty formulas,
// every field 0) and forgets the last mouse position of the animation.
void resetCompositionForTests();
