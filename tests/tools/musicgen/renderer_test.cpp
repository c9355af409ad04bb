// The synthesised music, on shortened renders of each piece: exact length,
// stereo, peak below full scale, fades at both ends, little energy in the
// top octaves, and the same samples on every render.
#include "tools/musicgen/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace {

using musicgen::Pieces;
using musicgen::StereoPcm;

constexpr double kTestSeconds = 10.0;

double Rms(const std::vector<float>& samples, size_t from, size_t count) {
  double sum = 0.0;
  for (size_t i = from; i < from + count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(count));
}

void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t length = 2; length <= n; length <<= 1) {
    const double angle = -2.0 * 3.14159265358979323846 / static_cast<double>(length);
    const std::complex<double> unit(std::cos(angle), std::sin(angle));
    for (size_t i = 0; i < n; i += length) {
      std::complex<double> w(1.0);
      for (size_t j = 0; j < length / 2; ++j) {
        const auto u = a[i + j], v = a[i + j + length / 2] * w;
        a[i + j] = u + v;
        a[i + j + length / 2] = u - v;
        w *= unit;
      }
    }
  }
}

class PieceRender : public ::testing::TestWithParam<size_t> {
 protected:
  const musicgen::PieceStyle& Piece() const { return Pieces()[GetParam()]; }
};

TEST_P(PieceRender, IsStereoWithinFullScaleAndFaded) {
  const StereoPcm pcm = musicgen::RenderPiece(Piece(), kTestSeconds);
  const size_t frames = static_cast<size_t>(kTestSeconds * 44100);
  ASSERT_EQ(pcm.sampleRate, 44100);
  ASSERT_EQ(pcm.left.size(), frames);
  ASSERT_EQ(pcm.right.size(), frames);

  double peak = 0.0, leftRight = 0.0, leftSquare = 0.0, rightSquare = 0.0;
  for (size_t i = 0; i < frames; ++i) {
    ASSERT_TRUE(std::isfinite(pcm.left[i]) && std::isfinite(pcm.right[i]));
    peak = std::max({peak, std::fabs(static_cast<double>(pcm.left[i])), std::fabs(static_cast<double>(pcm.right[i]))});
    leftRight += static_cast<double>(pcm.left[i]) * pcm.right[i];
    leftSquare += static_cast<double>(pcm.left[i]) * pcm.left[i];
    rightSquare += static_cast<double>(pcm.right[i]) * pcm.right[i];
  }
  EXPECT_LT(peak, 1.0) << "no clipping";
  EXPECT_NEAR(peak, musicgen::kPeakLevel, 1e-3) << "normalised to the target peak";
  const double correlation = leftRight / std::sqrt(leftSquare * rightSquare);
  EXPECT_LT(correlation, 0.97) << "the channels differ: a stereo image, not mono";
  EXPECT_GT(correlation, 0.0) << "but they are not out of phase";

  const size_t edge = 441;  // 10 ms
  const double body = Rms(pcm.left, frames / 2 - 22050, 44100);
  EXPECT_GT(body, 0.02) << "the middle is audible";
  EXPECT_LT(Rms(pcm.left, 0, edge), body * 0.01) << "fades in from silence";
  EXPECT_LT(Rms(pcm.left, frames - edge, edge), body * 0.01) << "fades out to silence";
}

TEST_P(PieceRender, KeepsTheTopOctavesQuiet) {
  const StereoPcm pcm = musicgen::RenderPiece(Piece(), kTestSeconds);
  constexpr size_t kWindow = 8192;
  double total = 0.0, high = 0.0;
  for (size_t start = 0; start + kWindow <= pcm.left.size(); start += kWindow) {
    std::vector<std::complex<double>> spectrum(kWindow);
    for (size_t i = 0; i < kWindow; ++i) {
      const double hann = 0.5 - 0.5 * std::cos(2.0 * 3.14159265358979323846 * i / kWindow);
      spectrum[i] = 0.5 * (pcm.left[start + i] + pcm.right[start + i]) * hann;
    }
    Fft(spectrum);
    for (size_t k = 1; k < kWindow / 2; ++k) {
      const double power = std::norm(spectrum[k]);
      total += power;
      if (k * 44100.0 / kWindow >= 8000.0) high += power;
    }
  }
  ASSERT_GT(total, 0.0);
  EXPECT_LT(10.0 * std::log10(high / total), -40.0) << "energy above 8 kHz relative to the whole, in dB";
}

TEST_P(PieceRender, IsDeterministic) {
  const StereoPcm first = musicgen::RenderPiece(Piece(), 4.0);
  const StereoPcm second = musicgen::RenderPiece(Piece(), 4.0);
  EXPECT_EQ(first.left, second.left);
  EXPECT_EQ(first.right, second.right);
}

INSTANTIATE_TEST_SUITE_P(EveryPiece, PieceRender, ::testing::Range<size_t>(0, Pieces().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) { return Pieces()[info.param].name; });

TEST(Pieces, AreTheThreeTracksWithLengthsOfTwoToFourMinutes) {
  const auto& pieces = Pieces();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].name, "MoonGarden");
  EXPECT_EQ(pieces[1].name, "Kalliope");
  EXPECT_EQ(pieces[2].name, "Mercury");
  for (const auto& piece : pieces) {
    EXPECT_GE(piece.durationSeconds, 120.0) << piece.name;
    EXPECT_LE(piece.durationSeconds, 240.0) << piece.name;
    EXPECT_EQ(musicgen::FindPiece(piece.name), &piece);
  }
  EXPECT_EQ(musicgen::FindPiece("Nothing"), nullptr);
  EXPECT_NE(pieces[0].seed, pieces[1].seed);
  EXPECT_NE(pieces[1].seed, pieces[2].seed);
}

}  // namespace
