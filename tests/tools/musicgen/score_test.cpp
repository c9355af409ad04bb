// The score writer: events in time order inside the track, melodies on the
// piece's scale, pads on its chords, a quiet opening, and a structure that
// scales with the requested length.
#include "tools/musicgen/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using musicgen::Instrument;
using musicgen::Pieces;

class PieceScore : public ::testing::TestWithParam<size_t> {};

TEST_P(PieceScore, EventsAreOrderedInsideTheTrackAndInKey) {
  const auto& piece = Pieces()[GetParam()];
  const auto events = musicgen::WriteScore(piece, piece.durationSeconds);
  ASSERT_FALSE(events.empty());
  int leadNotes = 0;
  for (size_t i = 0; i < events.size(); ++i) {
    const auto& e = events[i];
    if (i > 0) {
      EXPECT_LE(events[i - 1].startSeconds, e.startSeconds);
    }
    EXPECT_GE(e.startSeconds, 0.0);
    EXPECT_LT(e.startSeconds, piece.durationSeconds);
    EXPECT_GE(e.velocity, 0.0);
    EXPECT_LE(e.velocity, 1.0);
    EXPECT_GE(e.pan, -1.0);
    EXPECT_LE(e.pan, 1.0);
    EXPECT_GE(e.midi, 24.0);
    EXPECT_LE(e.midi, 108.0) << "nothing shrill";
    const int pitchClass = static_cast<int>(std::lround(e.midi)) % 12;
    if (e.instrument == Instrument::Glass) {
      ++leadNotes;
      EXPECT_NE(std::find(piece.scale.begin(), piece.scale.end(), pitchClass), piece.scale.end())
          << "melody note off the scale: " << e.midi;
    } else {
      // Pads, drones, shimmer and harp play chord tones.
      bool inSomeChord = false;
      for (const auto& chord : piece.chords) {
        inSomeChord |= chord.bass % 12 == pitchClass;
        for (int note : chord.pad) inSomeChord |= note % 12 == pitchClass;
      }
      EXPECT_TRUE(inSomeChord) << e.midi;
    }
  }
  EXPECT_GT(leadNotes, 20) << "a melody is heard over the pads";
  const double opening = std::min(10.0, 0.08 * piece.durationSeconds);
  for (const auto& e : events)
    if (e.instrument == Instrument::Glass || e.instrument == Instrument::Harp) {
      EXPECT_GE(e.startSeconds, opening - 0.05) << "the opening is pads alone";
    }
}

TEST_P(PieceScore, ShortScoresKeepTheShapeAndAreRepeatable) {
  const auto& piece = Pieces()[GetParam()];
  const auto shortScore = musicgen::WriteScore(piece, 20.0);
  ASSERT_FALSE(shortScore.empty());
  EXPECT_LT(shortScore.back().startSeconds, 20.0);
  EXPECT_TRUE(std::any_of(shortScore.begin(), shortScore.end(), [](const auto& e) {
    return e.instrument == Instrument::Glass || e.instrument == Instrument::Harp;
  }));
  const auto again = musicgen::WriteScore(piece, 20.0);
  ASSERT_EQ(again.size(), shortScore.size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].startSeconds, shortScore[i].startSeconds);
    EXPECT_EQ(again[i].midi, shortScore[i].midi);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryPiece, PieceScore, ::testing::Range<size_t>(0, Pieces().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) { return Pieces()[info.param].name; });

}  // namespace
