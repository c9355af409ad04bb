// driftglow-musicgen NAME OUT.mp3 [SECONDS]: synthesises one of the ambient
// pieces (MoonGarden, Kalliope, Mercury) and encodes it as MP3. SECONDS
// renders a shorter version, for quick listening.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/common/binary_file.h"
#include "tools/musicgen/mp3_encoder.h"
#include "tools/musicgen/pieces.h"
#include "tools/musicgen/renderer.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s NAME OUT.mp3 [SECONDS]\n", argv[0]);
    return 2;
  }
  const musicgen::PieceStyle* piece = musicgen::FindPiece(argv[1]);
  if (!piece) {
    std::fprintf(stderr, "driftglow-musicgen: no piece named %s\n", argv[1]);
    return 2;
  }
  const double seconds = argc == 4 ? std::atof(argv[3]) : piece->durationSeconds;
  if (!(seconds >= 1.0 && seconds <= 600.0)) {
    std::fprintf(stderr, "driftglow-musicgen: length must be 1 to 600 seconds\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const musicgen::StereoPcm pcm = musicgen::RenderPiece(*piece, seconds);
  const auto rendered = std::chrono::steady_clock::now();
  std::vector<uint8_t> mp3;
  std::string error;
  if (!musicgen::EncodeMp3(pcm, mp3, error)) {
    std::fprintf(stderr, "driftglow-musicgen: %s\n", error.c_str());
    return 1;
  }
  if (std::string error; !tools::WriteBinaryFile(argv[2], mp3, error)) {
    std::fprintf(stderr, "driftglow-musicgen: %s\n", error.c_str());
    return 1;
  }
  const auto encoded = std::chrono::steady_clock::now();
  std::printf("driftglow-musicgen: %s, %.0f s, %zu bytes (synthesis %.1f s, encoding %.1f s)\n", piece->name.c_str(),
              seconds, mp3.size(), std::chrono::duration<double>(rendered - start).count(),
              std::chrono::duration<double>(encoded - rendered).count());
  return 0;
}
