// The byte order of keys and the sort of a staged batch of keys by it, which
// sorted name lists use to merge a large batch in one pass. Standard library
// only.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

// Eight bytes read as one big-endian word, so that comparing words compares
// the bytes in order.
inline uint64_t BigEndianWord(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word;
}

// a < b comparing unsigned bytes, eight at a time: keys are short and this
// comparison is most of the cost of a sorted insert.
inline bool KeyLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    const uint64_t wordA = BigEndianWord(a.data() + i);
    const uint64_t wordB = BigEndianWord(b.data() + i);
    if (wordA != wordB) return wordA < wordB;
  }
  for (; i < common; ++i) {
    const auto byteA = static_cast<unsigned char>(a[i]);
    const auto byteB = static_cast<unsigned char>(b[i]);
    if (byteA != byteB) return byteA < byteB;
  }
  return a.size() < b.size();
}

// Sixteen key bytes as two big-endian words.
struct KeyWords {
  uint64_t high;  // bytes 0..7
  uint64_t low;   // bytes 8..15
};

// The first 15 bytes of a key, zero-padded, with byte 15 zero: where two
// keys' words differ they order the keys; where they are equal the keys are
// compared in full. Built in registers: copying a short key into a padded
// buffer and reading it back as words stalls the processor longer.
inline KeyWords KeyPrefixWords(std::string_view key) {
  const size_t size = std::min<size_t>(key.size(), 15);
  uint64_t words[2] = {0, 0};
  if (size >= 8) {
    words[0] = BigEndianWord(key.data());
    for (size_t i = 8; i < size; ++i) words[1] |= uint64_t{static_cast<unsigned char>(key[i])} << (8 * (15 - i));
  } else {
    for (size_t i = 0; i < size; ++i) words[0] |= uint64_t{static_cast<unsigned char>(key[i])} << (8 * (7 - i));
  }
  return {words[0], words[1]};
}

// One key of a batch: its first 15 bytes, zero-padded, and then its length
// as two big-endian words. Where two keys' words differ they order the keys
// exactly, since a shorter key that agrees with the padding is a prefix of
// the longer. Keys longer than 15 bytes count as length 16, so only two long
// keys can have equal words without being equal.
struct BatchKey {
  uint64_t high;    // key bytes 0..7
  uint64_t low;     // key bytes 8..14 and the length (16 for long keys)
  uint32_t serial;  // the key's index in the caller's batch
};

// The full text of the key with the given serial.
using BatchKeyText = std::function<std::string_view(uint32_t serial)>;

// Puts keys in ascending key order; keys with equal texts keep the order
// they came in. Keys are sorted by their words with one counting pass per
// byte position in which they differ: there is nothing to predict, so it
// stays fast on the random keys of a generated screen, and batches of few
// distinct keys (the figures' graphic numbers) take only two or three
// passes. Only runs of long keys with equal words read textOf (which may be
// empty when no key is longer than 15 bytes); among equal long keys the
// higher serial goes first, so the keys must come in descending serial
// order. scratch is working room, kept by the caller so that a sort
// allocates nothing once it has grown.
void SortBatch(std::vector<BatchKey>& keys, std::vector<BatchKey>& scratch, const BatchKeyText& textOf);
