// Music tracks streamed with SDL_mixer: one track plays at a time, the MP3
// bytes stay in memory and are decoded as they play.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/quad.h"
#include "engine/sdl/sdl_handles.h"

class MusicPlayer {
 public:
  enum class Clock {
    // Plays on the sound device, or silently on SDL's dummy output when the
    // machine has none; a track ends when the mixer has played it through.
    Device,
    // Opens SDL's dummy output only so that tracks can be decoded; nothing
    // is played, and a track ends once AdvanceScriptedTime has counted its
    // duration. Runs alike on every machine.
    Scripted,
  };

  MusicPlayer() = default;
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;
  ~MusicPlayer() { Close(); }

  // False when no output at all could be opened; *note then says why, and
  // also when the device path fell back to silent output.
  bool Open(Clock clock, std::string* note);
  void Close();
  bool IsOpen() const { return mixerOpen_; }
  bool Silent() const { return silent_; }

  // Takes the MP3 bytes; 0 when they do not decode as MP3 (*error says why).
  HEFFECT Load(std::vector<uint8_t> bytes, std::string* error);
  // Stops the track playing and starts this one. volume 0..100, pan
  // -100 (left) .. 100 (right). Returns the channel, 0 on failure.
  HCHANNEL Play(HEFFECT effect, int volume, int pan, bool loop);
  bool IsPlaying(HCHANNEL channel) const;
  // Seconds of the track, as the decoder reckons it; 0 for an unknown effect.
  double DurationSeconds(HEFFECT effect) const;
  void AdvanceScriptedTime(double seconds);

 private:
  struct Track {
    std::vector<uint8_t> bytes;  // read by the decoder while the track plays
    MusicHandle music;
    double durationSeconds = 0;
  };

  bool openMixer();
  const Track* find(HEFFECT effect) const;

  std::vector<std::unique_ptr<Track>> tracks_;  // handle = index + 1
  SubsystemReference audio_;
  Clock clock_ = Clock::Device;
  bool mixerOpen_ = false;
  bool silent_ = false;
  HCHANNEL nextChannel_ = 1;
  HCHANNEL current_ = 0;
  bool currentLoops_ = false;
  double currentStart_ = 0;
  double currentDuration_ = 0;
  double scriptedNow_ = 0;
};
