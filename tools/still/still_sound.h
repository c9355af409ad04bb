// The sound track of a video: one of the viewer's tracks found by name in
// Sound.paq through the engine, held in memory while it is encoded.
#pragma once

#include <cstdint>
#include <string>

class HGE;

class StillSound {
 public:
  explicit StillSound(HGE& engine) : engine_(engine) {}
  ~StillSound();
  StillSound(const StillSound&) = delete;
  StillSound& operator=(const StillSound&) = delete;

  // Attaches Sound.paq from the working directory and loads the track named
  // like one of the viewer's three (case and a ".mp3" ending don't matter;
  // empty: the first). False with a one-line error when the pack or the
  // track is missing.
  bool Load(const std::string& name, std::string& error);

  const uint8_t* Bytes() const { return static_cast<const uint8_t*>(block_); }
  uint32_t Size() const { return size_; }
  // The track's own name, like "MoonGarden".
  const std::string& Name() const { return name_; }

 private:
  HGE& engine_;
  void* block_ = nullptr;  // from Resource_Load, freed with Resource_Free
  uint32_t size_ = 0;
  std::string name_;
};

// The viewer's track names, like "MoonGarden, Kalliope or Mercury".
std::string stillTrackNames();
