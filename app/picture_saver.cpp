// The picture worker: encodes the frame as PNG and writes both files.
#include "app/picture_saver.h"

#include <filesystem>
#include <system_error>

#include "tools/common/pending_file.h"
#include "tools/common/png_file.h"

namespace {

namespace fs = std::filesystem;

std::string pngBytes(const FramePixels& frame) {
  tools::RgbaImage image(frame.width, frame.height);
  for (size_t i = 0; i < frame.argb.size(); ++i) {
    const uint32_t pixel = frame.argb[i];
    uint8_t* out = &image.pixels[i * 4];
    out[0] = static_cast<uint8_t>(pixel >> 16);
    out[1] = static_cast<uint8_t>(pixel >> 8);
    out[2] = static_cast<uint8_t>(pixel);
    out[3] = 0xFF;
  }
  const std::vector<uint8_t> bytes = tools::EncodePng(image);
  return std::string(bytes.begin(), bytes.end());
}

// Writes bytes under a name of this process's own beside path, never
// through a link, and renames it into place only when complete.
bool writeWhole(const std::string& path, const std::string& bytes, std::string& error) {
  PendingFile file;
  if (!file.Create(path, error)) return false;
  if (!file.Write(bytes.data(), bytes.size())) {
    error = "can't write '" + path + "': " + file.WriteFailure();
    return false;
  }
  return file.Commit(error);
}

}  // namespace

PictureOutcome writePicture(const PictureRequest& request) {
  const FramePixels& frame = request.frame;
  if (frame.width <= 0 || frame.height <= 0 || frame.argb.size() != static_cast<size_t>(frame.width) * frame.height)
    return {false, "the frame could not be read back"};
  std::error_code code;
  fs::create_directories(request.folder, code);
  if (code || !fs::is_directory(request.folder, code))
    return {false, "can't make the folder '" + request.folder + "': " + (code ? code.message() : "not a folder")};

  // Two saves in the same second get the same base name: the later one
  // takes the first free numbered one.
  std::string base = request.folder + "/" + request.baseName;
  for (int number = 2; fs::exists(base + ".png", code) || fs::exists(base + ".json", code); ++number) {
    if (number > 999) return {false, "too many pictures named '" + request.baseName + "'"};
    base = request.folder + "/" + request.baseName + "-" + std::to_string(number);
  }
  std::string error;
  if (!writeWhole(base + ".png", pngBytes(frame), error)) return {false, error};
  if (!writeWhole(base + ".json", request.json, error)) {
    fs::remove(base + ".png", code);
    return {false, error};
  }
  return {true, fs::path(base + ".png").filename().string()};
}

PictureSaver::~PictureSaver() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

bool PictureSaver::Queue(PictureRequest request) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kLongestQueue) return false;
    queue_.push_back(std::move(request));
    if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
  return true;
}

bool PictureSaver::TakeOutcome(PictureOutcome& outcome) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (outcomes_.empty()) return false;
  outcome = std::move(outcomes_.front());
  outcomes_.pop_front();
  return true;
}

void PictureSaver::WaitUntilIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void PictureSaver::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    // Queued pictures are written even when stopping: the user asked for them.
    if (queue_.empty()) return;
    PictureRequest request = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    PictureOutcome outcome = writePicture(request);
    lock.lock();
    busy_ = false;
    outcomes_.push_back(std::move(outcome));
    idle_.notify_all();
  }
}
