// The chunked storage behind NameList: locating positions, sorted inserts
// before equal keys, and erasing with the shorter side of a chunk moved.
#include "scene/name_list.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "scene/batch_sort.h"

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
  const KeyWords prefix = KeyPrefixWords(key);
  // The text array is followed by the length byte, which the mask leaves out.
  auto entryLess = [&key, &prefix](const Entry& entry) {
    const uint64_t high = BigEndianWord(entry.text);
    if (high != prefix.high) return high < prefix.high;
    const uint64_t low =
        BigEndianWord(reinterpret_cast<const char*>(&entry) + offsetof(Entry, text) + 8) & ~uint64_t{0xFF};
    if (low != prefix.low) return low < prefix.low;
    return KeyLess(entry.Key(), key);
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

NameListStorage::Place NameListStorage::OpenSlot(Place place) {
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
  chunk.size += 1;
  count_ += 1;
  ShiftStarts(c + 1, 1);
  cursor_ = c;
  return {c, k};
}

int NameListStorage::Filled(Place place) {
  if (place.offset == chunks_[place.chunk]->size - 1) NoteLast(place.chunk);
  return StartOf(place.chunk) + place.offset;
}

int NameListStorage::InsertAt(Place place, std::string_view key, void* item) {
  place = OpenSlot(place);
  FillEntry(chunks_[place.chunk]->At(place.offset), key, item);
  return Filled(place);
}

int NameListStorage::Add(std::string_view key, void* item) {
  Settle();
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

void NameListStorage::AddLater(std::string_view key, void* item) {
  if (order_ != NameListOrder::Sorted) {
    Add(key, item);
    return;
  }
  FillEntry(staged_.emplace_back(), key, item);
}

void NameListStorage::MergeStaged() {
  const int batch = static_cast<int>(staged_.size());
  if (batch >= kBatchMergeMinimum && batch * kBatchMergeRatio >= count_) {
    MergeSortedBatch();
    return;
  }
  // A few entries into a long list: inserted one by one, as Add would. Their
  // keys are already filled in, long ones included, so the entries move as
  // they are.
  for (const Entry& entry : staged_) {
    const Place place = OpenSlot(SortedInsertPlace(entry.Key()));
    chunks_[place.chunk]->At(place.offset) = entry;
    Filled(place);
  }
  staged_.clear();
}

void NameListStorage::MergeSortedBatch() {
  auto wordsOf = [](const Entry& entry) {
    // The text array is followed by the length byte, which a long key leaves 0.
    const char* text = reinterpret_cast<const char*>(&entry) + offsetof(Entry, text);
    return KeyWords{BigEndianWord(text), BigEndianWord(text + 8) | (entry.longKey ? 16u : 0u)};
  };
  // The latest staged first, so that a sort which keeps the order of equal
  // keys puts them as Add would: each Add goes before the equal keys there.
  batch_.clear();
  bool longKeys = false;
  for (size_t i = staged_.size(); i-- > 0;) {
    const KeyWords words = wordsOf(staged_[i]);
    batch_.push_back({words.high, words.low, static_cast<uint32_t>(i)});
    longKeys = longKeys || staged_[i].longKey;
  }
  SortBatch(batch_, batchScratch_,
            longKeys ? BatchKeyText([this](uint32_t serial) { return staged_[serial].Key(); }) : BatchKeyText());

  // Staged entries go before existing equal keys: an existing entry is taken
  // first only when its key is less.
  auto existingFirst = [&](const Entry& entry, const BatchKey& next) {
    const KeyWords words = wordsOf(entry);
    if (words.high != next.high) return words.high < next.high;
    if (words.low != next.low) return words.low < next.low;
    return (words.low & 0xFF) == 16 && KeyLess(entry.Key(), staged_[next.serial].Key());
  };

  // The entries move from the old chunks into fresh ones, packed.
  std::vector<std::unique_ptr<Chunk>>& old = mergedChunks_;
  old.swap(chunks_);
  starts_.clear();
  lastEntries_.clear();
  origin_ = 0;
  cursor_ = 0;
  Chunk* out = nullptr;
  int position = 0;
  // Packed chunks keep room on both sides for later inserts.
  auto append = [&](const Entry& entry) {
    if (!out || out->size == kPackedSize) {
      if (out) NoteLast(static_cast<int>(chunks_.size()) - 1);
      chunks_.push_back(TakeChunk(kPackedBegin));
      starts_.push_back(position);
      lastEntries_.emplace_back();
      out = chunks_.back().get();
    }
    out->slots[out->begin + out->size] = entry;
    out->size += 1;
    position += 1;
  };
  size_t next = 0;
  for (const std::unique_ptr<Chunk>& chunk : old) {
    for (int k = 0; k < chunk->size; ++k) {
      const Entry& entry = chunk->At(k);
      while (next < batch_.size() && !existingFirst(entry, batch_[next])) append(staged_[batch_[next++].serial]);
      append(entry);
    }
  }
  while (next < batch_.size()) append(staged_[batch_[next++].serial]);
  if (out) NoteLast(static_cast<int>(chunks_.size()) - 1);
  for (std::unique_ptr<Chunk>& chunk : old) spare_.push_back(std::move(chunk));
  old.clear();
  count_ = position;
  staged_.clear();
}

int NameListStorage::LowerBound(std::string_view key) const {
  Settle();
  if (order_ == NameListOrder::Sorted) {
    const Place place = SortedInsertPlace(key);
    return chunks_.empty() ? 0 : StartOf(place.chunk) + place.offset;
  }
  int position = 0;
  int found = count_;
  ForEachFrom(0, [&](std::string_view entryKey, void*) {
    if (!KeyLess(entryKey, key)) {
      found = position;
      return false;
    }
    ++position;
    return true;
  });
  return found;
}

int NameListStorage::PositionOfKey(std::string_view key) const {
  Settle();
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
  Settle();
  if (position < 0 || position >= count_) return {};
  const Place place = Locate(position);
  return chunks_[place.chunk]->At(place.offset).Key();
}

void* NameListStorage::ItemAt(int position) const {
  Settle();
  if (position < 0 || position >= count_) return nullptr;
  const Place place = Locate(position);
  return chunks_[place.chunk]->At(place.offset).item;
}

bool NameListStorage::SetItemAt(int position, void* item) {
  Settle();
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
  Settle();
  if (position < 0 || position >= count_) return false;
  EraseAt(Locate(position));
  return true;
}

void NameListStorage::ClearItems() {
  Settle();
  for (const std::unique_ptr<Chunk>& chunk : chunks_) {
    for (int k = 0; k < chunk->size; ++k) chunk->At(k).item = nullptr;
  }
}

void NameListStorage::Clear() {
  // No key is in use any more: the pool is handed out again from its start.
  keysInUse_ = 0;
  freeKeys_.clear();
  staged_.clear();
  spare_.reserve(spare_.size() + chunks_.size());
  for (std::unique_ptr<Chunk>& chunk : chunks_) spare_.push_back(std::move(chunk));
  chunks_.clear();
  starts_.clear();
  lastEntries_.clear();
  count_ = 0;
  cursor_ = 0;
  origin_ = 0;
}
