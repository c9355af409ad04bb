// The chunked storage behind NameList: locating positions, sorted inserts
// before equal keys, and erasing with the shorter half of a chunk moved.
#include "scene/name_list.h"

#include <algorithm>
#include <utility>

NameListStorage::NameListStorage(NameListOrder order) : order_(order) {}

NameListStorage::~NameListStorage() = default;

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
  for (int c = fromChunk; c < static_cast<int>(starts_.size()); ++c) starts_[c] += delta;
}

NameListStorage::Place NameListStorage::Locate(int position) const {
  const int chunkCount = static_cast<int>(chunks_.size());
  int c = cursor_;
  if (c < chunkCount && position >= starts_[c]) {
    if (position < starts_[c] + chunks_[c]->size) return {c, position - starts_[c]};
    if (c + 1 < chunkCount && position < starts_[c + 1] + chunks_[c + 1]->size) {
      cursor_ = c + 1;
      return {c + 1, position - starts_[c + 1]};
    }
  }
  // The last chunk starting at or before the position.
  c = static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
  cursor_ = c;
  return {c, position - starts_[c]};
}

NameListStorage::Place NameListStorage::SortedInsertPlace(std::string_view key) const {
  const int chunkCount = static_cast<int>(chunks_.size());
  if (chunkCount == 0) return {0, 0};
  // The first chunk whose last key is not less than key holds the lower bound.
  int low = 0, high = chunkCount;
  while (low < high) {
    const int middle = (low + high) / 2;
    const Chunk& chunk = *chunks_[middle];
    if (std::string_view(chunk.At(chunk.size - 1).key) < key) {
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
    if (std::string_view(chunk.At(middle).key) < key) {
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
    starts_.push_back(0);
    place = {0, 0};
  }
  int c = place.chunk;
  int k = place.offset;
  if (chunks_[c]->size == kChunkCapacity) {
    if (k == 0) {
      // A new chunk in front, filled from its end: more inserts at this
      // place (equal keys keep landing here) then cost nothing to shift.
      chunks_.insert(chunks_.begin() + c, TakeChunk(kChunkCapacity));
      starts_.insert(starts_.begin() + c, starts_[c]);
    } else if (k == kChunkCapacity) {
      chunks_.insert(chunks_.begin() + c + 1, TakeChunk(0));
      starts_.insert(starts_.begin() + c + 1, starts_[c] + kChunkCapacity);
      c += 1;
      k = 0;
    } else {
      // Split in halves; the upper half goes to the end of a new chunk so
      // that both halves have room next to the split.
      constexpr int kHalf = kChunkCapacity / 2;
      std::unique_ptr<Chunk> upper = TakeChunk(kHalf);
      Chunk& lower = *chunks_[c];
      for (int i = 0; i < kChunkCapacity - kHalf; ++i) upper->slots[kHalf + i] = std::move(lower.At(kHalf + i));
      upper->size = kChunkCapacity - kHalf;
      lower.size = kHalf;
      chunks_.insert(chunks_.begin() + c + 1, std::move(upper));
      starts_.insert(starts_.begin() + c + 1, starts_[c] + kHalf);
      if (k > kHalf) {
        c += 1;
        k -= kHalf;
      }
    }
  }

  Chunk& chunk = *chunks_[c];
  const bool roomInFront = chunk.begin > 0;
  const bool roomBehind = chunk.begin + chunk.size < kChunkCapacity;
  if (roomInFront && (k <= chunk.size - k || !roomBehind)) {
    for (int i = 0; i < k; ++i) chunk.slots[chunk.begin - 1 + i] = std::move(chunk.slots[chunk.begin + i]);
    chunk.begin -= 1;
  } else {
    for (int i = chunk.size - 1; i >= k; --i) chunk.slots[chunk.begin + i + 1] = std::move(chunk.slots[chunk.begin + i]);
  }
  Entry& entry = chunk.At(k);
  entry.key.assign(key);
  entry.item = item;
  chunk.size += 1;
  count_ += 1;
  ShiftStarts(c + 1, 1);
  cursor_ = c;
  return starts_[c] + k;
}

int NameListStorage::Add(std::string_view key, void* item) {
  if (order_ == NameListOrder::Sorted) return InsertAt(SortedInsertPlace(key), key, item);
  if (chunks_.empty()) return InsertAt({0, 0}, key, item);
  const int last = static_cast<int>(chunks_.size()) - 1;
  return InsertAt({last, chunks_[last]->size}, key, item);
}

int NameListStorage::LowerBound(std::string_view key) const {
  if (order_ == NameListOrder::Sorted) {
    const Place place = SortedInsertPlace(key);
    return chunks_.empty() ? 0 : starts_[place.chunk] + place.offset;
  }
  int position = 0;
  int found = count_;
  ForEachFrom(0, [&](std::string_view entryKey, void*) {
    if (!(entryKey < key)) {
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
  return chunks_[place.chunk]->At(place.offset).key;
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
  if (k < chunk.size - 1 - k) {
    for (int i = k - 1; i >= 0; --i) chunk.slots[chunk.begin + i + 1] = std::move(chunk.slots[chunk.begin + i]);
    chunk.begin += 1;
  } else {
    for (int i = k; i < chunk.size - 1; ++i) chunk.slots[chunk.begin + i] = std::move(chunk.slots[chunk.begin + i + 1]);
  }
  chunk.size -= 1;
  count_ -= 1;
  ShiftStarts(place.chunk + 1, -1);
  if (chunk.size == 0) {
    spare_.push_back(std::move(chunks_[place.chunk]));
    chunks_.erase(chunks_.begin() + place.chunk);
    starts_.erase(starts_.begin() + place.chunk);
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
  spare_.reserve(spare_.size() + chunks_.size());
  for (std::unique_ptr<Chunk>& chunk : chunks_) spare_.push_back(std::move(chunk));
  chunks_.clear();
  starts_.clear();
  count_ = 0;
  cursor_ = 0;
}
