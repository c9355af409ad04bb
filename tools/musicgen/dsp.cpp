// The wave tables of the music generator.
#include "tools/musicgen/dsp.h"

#include <algorithm>

namespace musicgen {
namespace {

WaveTable MakeTable(int harmonics, double (*amplitude)(int)) {
  WaveTable table{};
  double peak = 0.0;
  for (int i = 0; i <= kTableSize; ++i) {
    double sum = 0.0;
    for (int n = 1; n <= harmonics; ++n) sum += amplitude(n) * std::sin(2.0 * kPi * n * i / kTableSize);
    table[i] = static_cast<float>(sum);
    peak = std::max(peak, std::fabs(sum));
  }
  for (float& value : table) value = static_cast<float>(value / peak);
  return table;
}

}  // namespace

const WaveTable& SineTable() {
  static const WaveTable table = MakeTable(1, [](int) { return 1.0; });
  return table;
}

const WaveTable& PadTable() {
  static const WaveTable table = MakeTable(24, [](int n) { return std::exp(-n / 7.0) / n; });
  return table;
}

}  // namespace musicgen
