// Short sine-tone MP3 tracks, encoded as the music generator encodes its
// pieces: test and placeholder music. Needs nothing of the engine.
#pragma once

#include <cstdint>
#include <vector>

struct ToneSettings {
  double frequencyHz = 440.0;
  double seconds = 1.0;
  double amplitude = 0.3;  // 0..1 of full scale
  int sampleRate = 44100;
  int bitrateKbps = 64;
};

// The MP3 bytes of a mono tone faded in and out over 10 ms, without an Info
// tag; empty when the encoder fails or the settings are out of range (no
// samples, rate below 8000 Hz).
std::vector<uint8_t> EncodeToneMp3(const ToneSettings& tone);
