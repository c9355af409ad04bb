// The sort of a staged batch of keys: counting passes over the bytes in
// which the keys differ, then full comparisons for long keys alike in their
// first bytes.
#include "scene/batch_sort.h"

namespace {

// Sorts keys by their words (high, then low), keeping the order of keys with
// equal words, the least significant byte position first.
void StableSortByWords(std::vector<BatchKey>& keys, std::vector<BatchKey>& scratch) {
  if (keys.empty()) return;
  uint64_t differentHigh = 0, differentLow = 0;
  for (const BatchKey& key : keys) {
    differentHigh |= key.high ^ keys[0].high;
    differentLow |= key.low ^ keys[0].low;
  }
  scratch.resize(keys.size());
  for (int position = 0; position < 16; ++position) {
    const bool inHigh = position >= 8;
    const int shift = 8 * (position % 8);
    if ((((inHigh ? differentHigh : differentLow) >> shift) & 0xFF) == 0) continue;
    auto byteOf = [inHigh, shift](const BatchKey& key) { return ((inHigh ? key.high : key.low) >> shift) & 0xFF; };
    uint32_t starts[256] = {};
    for (const BatchKey& key : keys) ++starts[byteOf(key)];
    uint32_t sum = 0;
    for (uint32_t& start : starts) {
      const uint32_t count = start;
      start = sum;
      sum += count;
    }
    for (const BatchKey& key : keys) scratch[starts[byteOf(key)]++] = key;
    keys.swap(scratch);
  }
}

}  // namespace

void SortBatch(std::vector<BatchKey>& keys, std::vector<BatchKey>& scratch, const BatchKeyText& textOf) {
  StableSortByWords(keys, scratch);
  if (!textOf) return;
  // Only long keys can share their words without being equal: such runs are
  // put in full key order, the higher serial first among equal keys.
  for (size_t i = 0; i < keys.size();) {
    size_t end = i + 1;
    while (end < keys.size() && keys[end].high == keys[i].high && keys[end].low == keys[i].low) ++end;
    if (end - i > 1 && (keys[i].low & 0xFF) == 16) {
      std::sort(keys.begin() + i, keys.begin() + end, [&textOf](const BatchKey& a, const BatchKey& b) {
        const std::string_view keyA = textOf(a.serial);
        const std::string_view keyB = textOf(b.serial);
        if (KeyLess(keyA, keyB)) return true;
        if (KeyLess(keyB, keyA)) return false;
        return a.serial > b.serial;
      });
    }
    i = end;
  }
}
