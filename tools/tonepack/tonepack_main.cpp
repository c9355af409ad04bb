// driftglow-tonepack OUT.paq [SECONDS]: writes a sound pack holding the three
// music tracks the viewer plays, as short tones, stored uncompressed.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/binary_file.h"
#include "tools/pack/zip_writer.h"
#include "tools/tonepack/tone_track.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUT.paq [SECONDS]\n", argv[0]);
    return 2;
  }
  double seconds = 3.0;
  if (argc == 3) {
    char* end = nullptr;
    seconds = std::strtod(argv[2], &end);
    if (end == argv[2] || *end != '\0' || !(seconds > 0.05 && seconds <= 600)) {
      std::fprintf(stderr, "%s: SECONDS must be a number from 0.05 to 600\n", argv[0]);
      return 2;
    }
  }
  struct Track {
    const char* name;
    double frequencyHz;
  };
  const Track tracks[] = {
      {"sound/MoonGarden.mp3", 220.0},
      {"sound/Kalliope.mp3", 330.0},
      {"sound/Mercury.mp3", 440.0},
  };
  std::vector<pack::ZipEntry> entries;
  for (const Track& track : tracks) {
    ToneSettings tone;
    tone.frequencyHz = track.frequencyHz;
    tone.seconds = seconds;
    std::vector<uint8_t> mp3 = EncodeToneMp3(tone);
    if (mp3.empty()) {
      std::fprintf(stderr, "%s: encoding %s failed\n", argv[0], track.name);
      return 1;
    }
    entries.push_back({track.name, std::move(mp3)});
  }
  std::vector<uint8_t> zip;
  std::string error;
  if (!pack::BuildZip(entries, zip, error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  if (std::string error; !tools::WriteBinaryFile(argv[1], zip, error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  return 0;
}
