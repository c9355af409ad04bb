// Tracks are Mix_Music streams rather than Mix_Chunk samples: a chunk of an
// MP3 is decoded whole while the audio lock is held (tens of megabytes and a
// stall per long track). The end of a track is polled on the caller's thread.
#include "engine/sdl/music_player.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChunkSamples = 2048;

}  // namespace

bool MusicPlayer::openMixer() {
  if (Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, 2, kChunkSamples) != 0) return false;
  mixerOpen_ = true;
  return true;
}

bool MusicPlayer::Open(Clock clock, std::string* note) {
  Close();
  clock_ = clock;
  if (clock == Clock::Device) {
    if (audio_.Init(SDL_INIT_AUDIO) && openMixer()) return true;
    if (note) *note = std::string("no sound device (") + SDL_GetError() + "), music plays silently";
    audio_.Reset();
  }
  // SDL's dummy driver plays into nothing at the real rate; forced for this
  // one initialisation only, whatever the environment asks for.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  bool audioUp = audio_.Init(SDL_INIT_AUDIO);
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (audioUp && openMixer()) {
    silent_ = true;
    return true;
  }
  if (note) *note = std::string("no sound output: ") + SDL_GetError();
  audio_.Reset();
  return false;
}

void MusicPlayer::Close() {
  if (mixerOpen_) {
    if (clock_ == Clock::Device && current_ != 0) {
      Mix_HaltMusic();
      Mix_SetPanning(MIX_CHANNEL_POST, 255, 255);
    }
    tracks_.clear();  // before the mixer closes: each holds a decoder
    Mix_CloseAudio();
  }
  tracks_.clear();
  audio_.Reset();
  mixerOpen_ = false;
  silent_ = false;
  current_ = 0;
  scriptedNow_ = 0;
}

HEFFECT MusicPlayer::Load(std::vector<uint8_t> bytes, std::string* error) {
  if (!mixerOpen_) {
    if (error) *error = "sound is not running";
    return 0;
  }
  if (bytes.empty() || bytes.size() > INT32_MAX) {
    if (error) *error = "no sound data";
    return 0;
  }
  auto track = std::make_unique<Track>();
  track->bytes = std::move(bytes);
  SDL_RWops* stream = SDL_RWFromConstMem(track->bytes.data(), static_cast<int>(track->bytes.size()));
  if (!stream) {
    if (error) *error = SDL_GetError();
    return 0;
  }
  // The type is forced so that no other decoder guesses at arbitrary bytes;
  // the mixer closes the stream itself, also when loading fails.
  track->music.reset(Mix_LoadMUSType_RW(stream, MUS_MP3, 1));
  if (!track->music) {
    if (error) *error = std::string("not an MP3 track: ") + Mix_GetError();
    return 0;
  }
  track->durationSeconds = Mix_MusicDuration(track->music.get());
  if (!(track->durationSeconds > 0)) {
    if (error) *error = "not an MP3 track: no playable length";
    return 0;
  }
  tracks_.push_back(std::move(track));
  return static_cast<HEFFECT>(tracks_.size());
}

const MusicPlayer::Track* MusicPlayer::find(HEFFECT effect) const {
  if (effect == 0 || effect > tracks_.size()) return nullptr;
  return tracks_[effect - 1].get();
}

double MusicPlayer::DurationSeconds(HEFFECT effect) const {
  const Track* track = find(effect);
  return track ? track->durationSeconds : 0;
}

HCHANNEL MusicPlayer::Play(HEFFECT effect, int volume, int pan, bool loop) {
  const Track* track = find(effect);
  if (!track || !mixerOpen_) return 0;
  volume = std::clamp(volume, 0, 100);
  pan = std::clamp(pan, -100, 100);
  if (clock_ == Clock::Device) {
    Mix_HaltMusic();
    Mix_VolumeMusic(volume * MIX_MAX_VOLUME / 100);
    // Only music plays, so panning the final mix pans the track.
    Uint8 left = static_cast<Uint8>(pan > 0 ? 255 * (100 - pan) / 100 : 255);
    Uint8 right = static_cast<Uint8>(pan < 0 ? 255 * (100 + pan) / 100 : 255);
    Mix_SetPanning(MIX_CHANNEL_POST, left, right);
    if (Mix_PlayMusic(track->music.get(), loop ? -1 : 1) != 0) {
      current_ = 0;
      return 0;
    }
  }
  current_ = nextChannel_++;
  if (nextChannel_ == 0) nextChannel_ = 1;
  currentLoops_ = loop;
  currentStart_ = scriptedNow_;
  currentDuration_ = track->durationSeconds;
  return current_;
}

bool MusicPlayer::IsPlaying(HCHANNEL channel) const {
  if (channel == 0 || channel != current_ || !mixerOpen_) return false;
  if (clock_ == Clock::Device) return Mix_PlayingMusic() != 0;
  return currentLoops_ || scriptedNow_ - currentStart_ < currentDuration_;
}

void MusicPlayer::AdvanceScriptedTime(double seconds) {
  if (std::isfinite(seconds) && seconds > 0) scriptedNow_ += seconds;
}
