// The chunked storage behind NameList: locating positions, sorted inserts
// before equal keys, and erasing with the shorter side of a chunk moved.
#include "scene/name_list.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <utility>

namespace {

// a < b comparing unsigned bytes, eight at a time: keys are short and this
// comparison is most of the cost of a sorted insert.
bool keyLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    uint64_t wordA, wordB;
    std::memcpy(&wordA, a.data() + i, 8);
    std::memcpy(&wordB, b.data() + i, 8);
    if (wordA != wordB) {
      if constexpr (std::endian::native == std::endian::little) {
        wordA = __builtin_bswap64(wordA);
        wordB = __builtin_bswap64(wordB);
      }
      return wordA < wordB;
    }
  }
  for (; i < common; ++i) {
    const auto byteA = static_cast<unsigned char>(a[i]);
    const auto byteB = static_cast<unsigned char>(b[i]);
    if (byteA != byteB) return byteA < byteB;
  }
  return a.size() < b.size();
}

// The first 15 bytes of a key, zero-padded, as two big-endian words: where
// two keys' words differ they order the keys; where they are equal the keys
// are compared in full.
struct KeyPrefix {
  uint64_t high;
  uint64_t low;
};

uint64_t bigEndianWord(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word;
}

// Built in registers: copying a short key into a padded buffer and reading
// it back as words stalls the processor longer than this takes.
KeyPrefix prefixOf(std::string_view key) {
  const size_t size = std::min<size_t>(key.size(), 15);
  uint64_t words[2] = {0, 0};
  if (size >= 8) {
    words[0] = bigEndianWord(key.data());
    for (size_t i = 8; i < size; ++i) words[1] |= uint64_t{static_cast<unsigned char>(key[i])} << (8 * (15 - i));
  } else {
    for (size_t i = 0; i < size; ++i) words[0] |= uint64_t{static_cast<unsigned char>(key[i])} << (8 * (7 - i));
  }
  return {words[0], words[1]};
}

}  // namespace

NameListStorage::NameListStorage(NameListOrder order) : order_(order) {}

NameListStorage::~NameListStorage() = default;

void NameListStorage::FillEntry(Entry& entry, std::string_view key, void* item) {
  // Written field by field in place: building the entry elsewhere and copying
  // it in costs more than the rest of an append.
  entry.item = item;
  if (key.size() <= static_cast<size_t>(kInlineKey)) {
    entry.longKey = nullptr;
    std::memset(entry.text, 0, sizeof entry.text);
    if (!key.empty()) std::memcpy(entry.text, key.data(), key.size());
    entry.length = static_cast<uint8_t>(key.size());
    return;
  }
  // The first bytes are kept in place too, for the comparisons' first look.
  std::memcpy(entry.text, key.data(), sizeof entry.text);
  std::string* text;
  if (!freeKeys_.empty()) {
    text = freeKeys_.back();
    freeKeys_.pop_back();
  } else if (keysInUse_ < keyPool_.size()) {
    text = &keyPool_[keysInUse_++];
  } else {
    text = &keyPool_.emplace_back();
    ++keysInUse_;
  }
  text->assign(key);
  entry.longKey = text;
  entry.length = 0;
}

void NameListStorage::ReleaseKey(const Entry& entry) {
  if (entry.longKey) freeKeys_.push_back(entry.longKey);
}

std::unique_ptr<NameListStorage::Chunk> NameListStorage::TakeChunk(int begin) {
  std::unique_ptr<Chunk> chunk;
  if (!spare_.empty()) {
    chunk = std::move(spare_.back());
    spare_.pop_back();
  } else {
    chunk = std::make_unique<Chunk>();
  }
  chunk->begin = begin;
  chunk->size = 0;
  return chunk;
}

void NameListStorage::ShiftStarts(int fromChunk, int delta) {
  const int chunkCount = static_cast<int>(starts_.size());
  if (chunkCount - fromChunk <= fromChunk) {
    for (int c = fromChunk; c < chunkCount; ++c) starts_[c] += delta;
    return;
  }
  // Fewer chunks lie before: moving the origin moves every start, so those
  // before are moved back. A run of inserts at the front touches nothing.
  for (int c = 0; c < fromChunk; ++c) starts_[c] -= delta;
  origin_ -= delta;
  if (origin_ < -kOriginLimit || origin_ > kOriginLimit) {
    for (int& start : starts_) start -= origin_;
    origin_ = 0;
  }
}

NameListStorage::Place NameListStorage::Locate(int position) const {
  const int chunkCount = static_cast<int>(chunks_.size());
  int c = cursor_;
  if (c < chunkCount && position >= StartOf(c)) {
    if (position < StartOf(c) + chunks_[c]->size) return {c, position - StartOf(c)};
    if (c + 1 < chunkCount && position < StartOf(c + 1) + chunks_[c + 1]->size) {
      cursor_ = c + 1;
      return {c + 1, position - StartOf(c + 1)};
    }
  }
  // The last chunk starting at or before the position.
  c = static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), position + origin_) - starts_.begin()) - 1;
  cursor_ = c;
  return {c, position - StartOf(c)};
}

NameListStorage::Place NameListStorage::SortedInsertPlace(std::string_view key) const {
  const int chunkCount = static_cast<int>(chunks_.size());
  if (chunkCount == 0) return {0, 0};
  const KeyPrefix prefix = prefixOf(key);
  // The text array is followed by the length byte, which the mask leaves out.
  auto entryLess = [&key, &prefix](const Entry& entry) {
    const uint64_t high = bigEndianWord(entry.text);
    if (high != prefix.high) return high < prefix.high;
    const uint64_t low =
        bigEndianWord(reinterpret_cast<const char*>(&entry) + offsetof(Entry, text) + 8) & ~uint64_t{0xFF};
    if (low != prefix.low) return low < prefix.low;
    return keyLess(entry.Key(), key);
  };
  // Runs of equal or ascending keys land at either end: settle those with one
  // comparison each.
  if (!entryLess(chunks_.front()->At(0))) return {0, 0};
  if (entryLess(lastEntries_.back())) return {chunkCount - 1, chunks_.back()->size};
  // The first chunk whose last key is not less than key holds the lower bound.
  int low = 0, high = chunkCount;
  while (low < high) {
    const int middle = (low + high) / 2;
    if (entryLess(lastEntries_[middle])) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == chunkCount) return {chunkCount - 1, chunks_.back()->size};
  const Chunk& chunk = *chunks_[low];
  int first = 0, last = chunk.size;
  while (first < last) {
    const int middle = (first + last) / 2;
    if (entryLess(chunk.At(middle))) {
      first = middle + 1;
    } else {
      last = middle;
    }
  }
  return {low, first};
}

int NameListStorage::InsertAt(Place place, std::string_view key, void* item) {
  if (chunks_.empty()) {
    // A sorted list's first chunk starts in the middle so it can grow both ways.
    chunks_.push_back(TakeChunk(order_ == NameListOrder::Sorted ? kChunkCapacity / 2 : 0));
    origin_ = 0;
    starts_.push_back(0);
    lastEntries_.emplace_back();
    place = {0, 0};
  }
  int c = place.chunk;
  int k = place.offset;
  // The front chunk without room before its first entry is treated as full
  // there, so a run of inserts at the front never shifts entries.
  const bool noRoomAtFront = c == 0 && k == 0 && chunks_[0]->begin == 0;
  if (chunks_[c]->size == kChunkCapacity || noRoomAtFront) {
    if (k == 0) {
      // A new chunk in front, filled from its end: more inserts at this
      // place (equal keys keep landing here) then cost nothing to shift.
      chunks_.insert(chunks_.begin() + c, TakeChunk(kChunkCapacity));
      starts_.insert(starts_.begin() + c, starts_[c]);
      lastEntries_.insert(lastEntries_.begin() + c, Entry{});
    } else if (k == kChunkCapacity) {
      chunks_.insert(chunks_.begin() + c + 1, TakeChunk(0));
      starts_.insert(starts_.begin() + c + 1, starts_[c] + kChunkCapacity);
      lastEntries_.insert(lastEntries_.begin() + c + 1, Entry{});
      c += 1;
      k = 0;
    } else {
      // Split in halves; the upper half goes to the end of a new chunk so
      // that both halves have room next to the split.
      constexpr int kHalf = kChunkCapacity / 2;
      std::unique_ptr<Chunk> upper = TakeChunk(kHalf);
      Chunk& lower = *chunks_[c];
      std::copy(lower.slots.begin() + kHalf, lower.slots.end(), upper->slots.begin() + kHalf);
      upper->size = kChunkCapacity - kHalf;
      lower.size = kHalf;
      chunks_.insert(chunks_.begin() + c + 1, std::move(upper));
      starts_.insert(starts_.begin() + c + 1, starts_[c] + kHalf);
      lastEntries_.insert(lastEntries_.begin() + c + 1, lastEntries_[c]);
      NoteLast(c);
      if (k > kHalf) {
        c += 1;
        k -= kHalf;
      }
    }
  }

  Chunk& chunk = *chunks_[c];
  const bool roomInFront = chunk.begin > 0;
  const bool roomBehind = chunk.begin + chunk.size < kChunkCapacity;
  Entry* first = chunk.slots.data() + chunk.begin;
  if (roomInFront && (k <= chunk.size - k || !roomBehind)) {
    std::copy(first, first + k, first - 1);
    chunk.begin -= 1;
  } else {
    std::copy_backward(first + k, first + chunk.size, first + chunk.size + 1);
  }
  FillEntry(chunk.At(k), key, item);
  chunk.size += 1;
  if (k == chunk.size - 1) NoteLast(c);
  count_ += 1;
  ShiftStarts(c + 1, 1);
  cursor_ = c;
  return StartOf(c) + k;
}

int NameListStorage::Add(std::string_view key, void* item) {
  if (order_ == NameListOrder::Sorted) return InsertAt(SortedInsertPlace(key), key, item);
  if (chunks_.empty()) return InsertAt({0, 0}, key, item);
  const int last = static_cast<int>(chunks_.size()) - 1;
  Chunk& chunk = *chunks_[last];
  if (chunk.begin + chunk.size < kChunkCapacity) {
    // The common case of an append: room behind the last entry.
    FillEntry(chunk.slots[chunk.begin + chunk.size], key, item);
    chunk.size += 1;
    count_ += 1;
    return count_ - 1;
  }
  return InsertAt({last, chunk.size}, key, item);
}

int NameListStorage::LowerBound(std::string_view key) const {
  if (order_ == NameListOrder::Sorted) {
    const Place place = SortedInsertPlace(key);
    return chunks_.empty() ? 0 : StartOf(place.chunk) + place.offset;
  }
  int position = 0;
  int found = count_;
  ForEachFrom(0, [&](std::string_view entryKey, void*) {
    if (!keyLess(entryKey, key)) {
      found = position;
      return false;
    }
    ++position;
    return true;
  });
  return found;
}

int NameListStorage::PositionOfKey(std::string_view key) const {
  if (order_ == NameListOrder::Sorted) {
    const int position = LowerBound(key);
    return position < count_ && KeyAt(position) == key ? position : -1;
  }
  int position = 0;
  int found = -1;
  ForEachFrom(0, [&](std::string_view entryKey, void*) {
    if (entryKey == key) {
      found = position;
      return false;
    }
    ++position;
    return true;
  });
  return found;
}

int NameListStorage::PositionOfItem(const void* item) const {
  int position = 0;
  int found = -1;
  ForEachFrom(0, [&](std::string_view, void* entryItem) {
    if (entryItem == item) {
      found = position;
      return false;
    }
    ++position;
    return true;
  });
  return found;
}

std::string_view NameListStorage::KeyAt(int position) const {
  if (position < 0 || position >= count_) return {};
  const Place place = Locate(position);
  return chunks_[place.chunk]->At(place.offset).Key();
}

void* NameListStorage::ItemAt(int position) const {
  if (position < 0 || position >= count_) return nullptr;
  const Place place = Locate(position);
  return chunks_[place.chunk]->At(place.offset).item;
}

bool NameListStorage::SetItemAt(int position, void* item) {
  if (position < 0 || position >= count_) return false;
  const Place place = Locate(position);
  chunks_[place.chunk]->At(place.offset).item = item;
  return true;
}

void NameListStorage::EraseAt(Place place) {
  Chunk& chunk = *chunks_[place.chunk];
  const int k = place.offset;
  ReleaseKey(chunk.At(k));
  Entry* first = chunk.slots.data() + chunk.begin;
  if (k < chunk.size - 1 - k) {
    std::copy_backward(first, first + k, first + k + 1);
    chunk.begin += 1;
  } else {
    std::copy(first + k + 1, first + chunk.size, first + k);
  }
  chunk.size -= 1;
  count_ -= 1;
  ShiftStarts(place.chunk + 1, -1);
  if (chunk.size == 0) {
    spare_.push_back(std::move(chunks_[place.chunk]));
    chunks_.erase(chunks_.begin() + place.chunk);
    starts_.erase(starts_.begin() + place.chunk);
    lastEntries_.erase(lastEntries_.begin() + place.chunk);
  } else if (k == chunk.size) {
    NoteLast(place.chunk);
  }
  if (cursor_ >= static_cast<int>(chunks_.size())) cursor_ = 0;
}

bool NameListStorage::DeleteAt(int position) {
  if (position < 0 || position >= count_) return false;
  EraseAt(Locate(position));
  return true;
}

void NameListStorage::ClearItems() {
  for (const std::unique_ptr<Chunk>& chunk : chunks_) {
    for (int k = 0; k < chunk->size; ++k) chunk->At(k).item = nullptr;
  }
}

void NameListStorage::Clear() {
  // No key is in use any more: the pool is handed out again from its start.
  keysInUse_ = 0;
  freeKeys_.clear();
  spare_.reserve(spare_.size() + chunks_.size());
  for (std::unique_ptr<Chunk>& chunk : chunks_) spare_.push_back(std::move(chunk));
  chunks_.clear();
  starts_.clear();
  lastEntries_.clear();
  count_ = 0;
  cursor_ = 0;
  origin_ = 0;
}
