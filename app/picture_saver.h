// PictureSaver: writes pictures of the screen on a worker thread, so that a
// save costs the frame loop only the read-back of one frame. Each picture
// is a PNG and its JSON description, each written under a temporary name
// and renamed when complete. Needs no engine; the frame comes in as pixels.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "engine/hge.h"

struct PictureRequest {
  FramePixels frame;
  std::string json;      // the screen's description, written beside the PNG
  std::string folder;    // made, with its parents, when missing
  std::string baseName;  // file name without extension; a number is added when taken
};

// How a save ended: the PNG's file name, or why nothing was written.
struct PictureOutcome {
  bool saved = false;
  std::string text;
};

// Writes the request now, on the calling thread: folder, PNG, then JSON. On a
// failure neither file is left behind.
PictureOutcome writePicture(const PictureRequest& request);

class PictureSaver {
 public:
  // Requests waiting beyond this are refused: each holds a whole frame.
  static constexpr size_t kLongestQueue = 4;

  PictureSaver() = default;
  // Finishes every queued picture, then ends the worker.
  ~PictureSaver();
  PictureSaver(const PictureSaver&) = delete;
  PictureSaver& operator=(const PictureSaver&) = delete;

  // Hands the request to the worker (started on first use). False, the
  // request dropped, when kLongestQueue requests are waiting.
  bool Queue(PictureRequest request);
  // The next finished save, if any; never waits for one.
  bool TakeOutcome(PictureOutcome& outcome);
  // Waits until every queued picture is written.
  void WaitUntilIdle();

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<PictureRequest> queue_;
  std::deque<PictureOutcome> outcomes_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};
