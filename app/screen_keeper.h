// ScreenKeeper: what the viewer keeps of its screens. It names each new
// screen by its seeds, remembers the last screens for going back, saves
// pictures, keeps favourites, feeds new screens from the favourites or a
// given first screen, and holds the short message that fades on the screen.
// The screensaver has none: without a keeper the frame and render functions
// do exactly what they did before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/favourites.h"
#include "app/picture_saver.h"
#include "app/screen_history.h"
#include "composition/frame_input.h"

struct KeeperOptions {
  std::string picturesFolder;   // where P writes; empty: saving is refused with a message
  std::string favouritesPath;   // where F writes and --favourites reads; empty: refused
  bool fromFavourites = false;  // new screens from the favourites
  bool haveFirstSeeds = false;  // the first new screen has these seeds
  int32_t firstSeeds[3] = {0, 0, 0};
  bool printScreens = true;  // "screen A,B,C" on standard output for each screen shown
  // P, F and B, and the messages on the screen; the screensaver has neither
  // (its problems still go to standard error).
  bool interactive = true;
};

class ScreenKeeper {
 public:
  // Fading messages last this many nominal frames (about two seconds).
  static constexpr float kMessageFrames = 100;

  explicit ScreenKeeper(KeeperOptions options);
  // Writes the pictures still waiting; a failure is reported on standard error.
  ~ScreenKeeper();
  ScreenKeeper(const ScreenKeeper&) = delete;
  ScreenKeeper& operator=(const ScreenKeeper&) = delete;

  // Reads the favourites when new screens come from them; says so when
  // there are none, or when the file cannot be read.
  void Start();

  // The seeds for the next new screen: the first screen asked for, else one
  // from the favourites (shuffled, never the same twice in a row). False when
  // the screen is to be drawn at random.
  bool NextSeeds(int32_t seeds[3]);

  // A screen was just built from these seeds, with the composition's motion
  // modes as they are now. backInHistory: it was reached by going back.
  void ScreenBuilt(const int32_t seeds[3], bool backInHistory);
  // The automatic generator drew new motion modes for the screen just built.
  void ModesDrawn();

  // Once per frame, with the frame's input and whether the key lock is open.
  // Returns true when a key acted (the caller then closes the lock).
  bool HandleKeys(const FrameInput& input, bool keysUnlocked);
  // Advances the frame count and the message's fade by dt seconds.
  void Tick(float dt);

  // In the render function after the screen is drawn, before the message:
  // a picture asked for is read back now and handed to the saver.
  void AfterDrawing();
  // The text for the help overlay's extra line: the seeds and the keys.
  const std::string& OverlayLine() const { return overlayLine_; }
  // The message to show, with its opacity 0..1; empty when none.
  const std::string& Message(float& opacity) const;

  const ScreenHistory& History() const { return history_; }
  // Waits until every picture asked for is written and takes the outcomes.
  void FinishPictures();

 private:
  void say(const std::string& text, bool problem);
  void goBack();
  void keepCurrent();
  void takeOutcomes();
  std::string dateText(const char* format) const;

  KeeperOptions options_;
  ScreenHistory history_;
  std::vector<SeedTriple> favourites_;
  std::vector<size_t> order_;  // a shuffled pass over favourites_
  size_t nextInOrder_ = 0;
  SeedTriple lastFavourite_{};
  bool firstSeedsUsed_ = false;

  // The screen shown, as made: its description and its first figure's turn and size.
  std::string generatedJson_;
  float firstRotation_ = 0;
  float firstScale_ = 1;
  int64_t framesShown_ = 0;

  bool savePending_ = false;
  PictureSaver saver_;

  // A key acts when it goes down; it must be let go before it acts again.
  bool pictureArmed_ = true, favouriteArmed_ = true, backArmed_ = true;

  std::string overlayLine_;
  std::string message_;
  float messageFrames_ = 0;
};
