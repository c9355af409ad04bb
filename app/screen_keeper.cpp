// ScreenKeeper: the viewer's names, history, pictures and favourites.
#include "app/screen_keeper.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include "app/app_state.h"
#include "app/frame.h"
#include "app/screen_json.h"
#include "app/seeds_text.h"
#include "composition/composition.h"
#include "composition/screen_seeds.h"
#include "core/random_below.h"
#include "scene/scene.h"

namespace {

// Waits for the key to be let go after it acted; acts when it is down,
// armed and the lock is open.
bool pressed(bool held, bool& armed, bool unlocked) {
  if (!held) {
    armed = true;
    return false;
  }
  if (!armed || !unlocked) return false;
  armed = false;
  return true;
}

// The first figure in creation order, whose turn and size stand for all:
// every figure turns and grows alike.
const SPIX_OBJECT* firstFigure() {
  const SPIX* scene = APP_STATE.scene.get();
  if (!scene) return nullptr;
  for (int i = 0; i < scene->objectsById.Count(); ++i) {
    const SPIX_OBJECT* object = scene->objectsById.ItemAt(i);
    if (object && object->userData) return object;
  }
  return nullptr;
}

}  // namespace

ScreenKeeper::ScreenKeeper(KeeperOptions options)
    : options_(std::move(options)), overlayLine_("P - Save picture   F - Keep favourite   B - Back") {}

ScreenKeeper::~ScreenKeeper() { FinishPictures(); }

void ScreenKeeper::Start() {
  if (!options_.fromFavourites) return;
  if (options_.favouritesPath.empty()) {
    say("No favourites file (no home folder): showing new screens", true);
    return;
  }
  Favourites favourites;
  std::string error;
  if (!readFavourites(options_.favouritesPath, favourites, error)) {
    say(error + "; showing new screens", true);
    return;
  }
  for (const std::string& warning : favourites.warnings) std::fprintf(stderr, "driftglow: %s\n", warning.c_str());
  favourites_ = std::move(favourites.screens);
  if (favourites_.empty()) {
    say("No favourites yet (keep one with F): showing new screens", true);
  } else if (!favourites.warnings.empty()) {
    say(std::to_string(favourites.warnings.size()) + " damaged favourites lines skipped", true);
  }
}

bool ScreenKeeper::NextSeeds(int32_t seeds[3]) {
  if (options_.haveFirstSeeds && !firstSeedsUsed_) {
    firstSeedsUsed_ = true;
    for (int i = 0; i < 3; ++i) seeds[i] = options_.firstSeeds[i];
    return true;
  }
  if (!options_.fromFavourites || favourites_.empty()) return false;
  if (nextInOrder_ >= order_.size() || order_.size() != favourites_.size()) {
    // A new pass in a new order; it never starts with the screen shown last.
    order_.resize(favourites_.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    for (size_t i = order_.size(); i > 1; --i)
      std::swap(order_[i - 1], order_[static_cast<size_t>(randomBelow(static_cast<int32_t>(i)))]);
    if (order_.size() > 1 && favourites_[order_[0]] == lastFavourite_) std::swap(order_[0], order_[1]);
    nextInOrder_ = 0;
  }
  lastFavourite_ = favourites_[order_[nextInOrder_++]];
  for (int i = 0; i < 3; ++i) seeds[i] = lastFavourite_[static_cast<size_t>(i)];
  return true;
}

void ScreenKeeper::ScreenBuilt(const int32_t seeds[3], bool backInHistory) {
  if (!backInHistory) {
    ScreenRecord screen;
    for (int i = 0; i < 3; ++i) screen.seeds[i] = seeds[i];
    screen.rotationMode = composition.rotationMode;
    screen.zoomMode = composition.zoomMode;
    screen.scaleMode = composition.scaleMode;
    history_.Add(screen);
  }
  if (options_.printScreens) {
    std::printf("screen %s\n", seedsText(seeds).c_str());
    std::fflush(stdout);
  }
  generatedJson_ = screenJson(APP_STATE.scene.get(), seeds, static_cast<int>(APP_STATE.screenWidth),
                              static_cast<int>(APP_STATE.screenHeight));
  const SPIX_OBJECT* first = firstFigure();
  firstRotation_ = first ? first->rotation : 0;
  firstScale_ = first ? first->scale : 1;
  framesShown_ = 0;
  overlayLine_ = "Screen " + seedsText(seeds) + "   P - Save picture   F - Keep favourite   B - Back";
}

void ScreenKeeper::ModesDrawn() {
  history_.SetCurrentModes(composition.rotationMode, composition.zoomMode, composition.scaleMode);
}

bool ScreenKeeper::HandleKeys(const FrameInput& input, bool keysUnlocked) {
  takeOutcomes();
  if (!options_.interactive) return false;
  if (pressed(input.keyP, pictureArmed_, keysUnlocked)) {
    if (!history_.Current()) return false;
    savePending_ = true;
    return true;
  }
  if (pressed(input.keyF, favouriteArmed_, keysUnlocked)) {
    keepCurrent();
    return true;
  }
  if (pressed(input.keyB || input.keyBackspace, backArmed_, keysUnlocked)) {
    goBack();
    return true;
  }
  return false;
}

void ScreenKeeper::Tick(float dt) {
  ++framesShown_;
  if (messageFrames_ > 0) messageFrames_ -= dt / APP_STATE.frameTime;
}

void ScreenKeeper::AfterDrawing() {
  if (!savePending_) return;
  savePending_ = false;
  const ScreenRecord* screen = history_.Current();
  if (!screen) return;
  if (options_.picturesFolder.empty()) {
    say("Can't save the picture: no pictures folder (no home folder)", true);
    return;
  }
  PictureRequest request;
  if (!APP_STATE.engine || !APP_STATE.engine->Gfx_ReadFrame(request.frame)) {
    say("Can't save the picture: the frame could not be read back", true);
    return;
  }
  ViewState view;
  view.zoom = composition.zoom;
  if (const SPIX_OBJECT* first = firstFigure()) {
    view.rotation = first->rotation - firstRotation_;
    view.figureScale = firstScale_ != 0 ? first->scale / firstScale_ : 1;
  }
  view.framesShown = framesShown_;
  request.json = withViewState(generatedJson_, view);
  request.folder = options_.picturesFolder;
  request.baseName = "driftglow-" + std::to_string(screen->seeds[0]) + "-" + std::to_string(screen->seeds[1]) + "-" +
                     std::to_string(screen->seeds[2]) + "-" + dateText("%Y%m%d-%H%M%S");
  if (!saver_.Queue(std::move(request))) say("Can't save the picture: still writing the earlier ones", true);
}

const std::string& ScreenKeeper::Message(float& opacity) const {
  static const std::string kNone;
  if (messageFrames_ <= 0 || !options_.interactive) return kNone;
  // Fully there for the first three quarters, then fading out.
  opacity = std::min(1.0f, messageFrames_ / (kMessageFrames / 4));
  return message_;
}

void ScreenKeeper::FinishPictures() {
  saver_.WaitUntilIdle();
  takeOutcomes();
}

void ScreenKeeper::say(const std::string& text, bool problem) {
  message_ = text;
  messageFrames_ = kMessageFrames;
  if (problem) std::fprintf(stderr, "driftglow: %s\n", text.c_str());
}

void ScreenKeeper::goBack() {
  const ScreenRecord* back = history_.Back();
  if (!back) {
    say("No earlier screen", false);
    return;
  }
  const ScreenRecord screen = *back;
  resetScreen();
  buildScreenFromSeeds(compositionContext(), screen.seeds[0], screen.seeds[1], screen.seeds[2]);
  composition.rotationMode = screen.rotationMode;
  composition.zoomMode = screen.zoomMode;
  composition.scaleMode = screen.scaleMode;
  ScreenBuilt(screen.seeds, true);
}

void ScreenKeeper::keepCurrent() {
  const ScreenRecord* screen = history_.Current();
  if (!screen) return;
  if (options_.favouritesPath.empty()) {
    say("Can't keep the favourite: no favourites file (no home folder)", true);
    return;
  }
  const SeedTriple seeds{screen->seeds[0], screen->seeds[1], screen->seeds[2]};
  std::string error;
  switch (keepFavourite(options_.favouritesPath, seeds, dateText("%Y-%m-%d"), error)) {
    case KeepResult::Kept:
      say("Kept " + seedsText(screen->seeds), false);
      if (std::find(favourites_.begin(), favourites_.end(), seeds) == favourites_.end()) favourites_.push_back(seeds);
      break;
    case KeepResult::AlreadyKept: say("Already kept " + seedsText(screen->seeds), false); break;
    case KeepResult::Failed: say("Not kept: " + error, true); break;
  }
}

void ScreenKeeper::takeOutcomes() {
  PictureOutcome outcome;
  while (saver_.TakeOutcome(outcome)) {
    if (outcome.saved) {
      say("Saved " + outcome.text, false);
    } else {
      say("Picture not saved: " + outcome.text, true);
    }
  }
}

std::string ScreenKeeper::dateText(const char* format) const {
  const std::time_t now =
      APP_STATE.platform ? static_cast<std::time_t>(APP_STATE.platform->NowSeconds()) : std::time(nullptr);
  // Only the frame thread asks for dates, so the shared result of
  // localtime is not raced.
  const std::tm* local = std::localtime(&now);
  if (!local) return "unknown-date";
  char text[64];
  const size_t length = std::strftime(text, sizeof text, format, local);
  return std::string(text, length);
}
