// NameList: an ordered list of (key text, item reference) entries, unsorted or
// sorted, case-sensitive, duplicates accepted. Every keyed collection of the
// scene, the composition and the particle manager is one. Standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/batch_sort.h"

enum class NameListOrder {
  Unsorted,  // entries stay in the order added
  Sorted,    // ascending key order; a new entry goes before equal keys
};

// The untyped list behind NameList<Item>. Entries live in chunks of at most
// kChunkCapacity, each with free room on both sides, so that an insert
// shifts only part of one chunk. Adding 1,600 equal names (each one lands at
// the front) is constant time per entry, like appending: the front chunk
// fills from its end, a new one opens in front of it when it has no room
// there, and no other chunk's bookkeeping changes. An entry is 32 plain bytes holding
// keys of up to 15 characters itself (longer ones live in a pool of reused
// strings), so shifting is a block copy and comparing needs no pointer
// chase; a copy of each chunk's last entry sits in one array for the search
// over chunks. Positions are plain indexes 0..Count()-1; walking them in
// order is constant time per step. Emptied chunks and key strings are kept
// for reuse, so refilling a cleared list allocates nothing. Keys compare
// byte by byte as unsigned characters.
//
// On a sorted list AddLater stages entries instead of inserting them; every
// other operation (Count() aside) first merges what is staged, so nothing
// outside the list can tell staged entries from added ones. A large batch is
// sorted and merged with the existing entries in one pass, which costs far
// less than as many inserts at random places.
class NameListStorage {
 public:
  explicit NameListStorage(NameListOrder order);
  NameListStorage(const NameListStorage&) = delete;
  NameListStorage& operator=(const NameListStorage&) = delete;
  NameListStorage(NameListStorage&&) noexcept = default;
  NameListStorage& operator=(NameListStorage&&) noexcept = default;
  ~NameListStorage();

  // Unsorted: appends. Sorted: inserts at the first position whose key is not
  // less than key. Returns the position of the new entry.
  int Add(std::string_view key, void* item);
  // Files the entry exactly where Add would, for callers that do not need its
  // position: a sorted list may hold it back until the list is next used.
  void AddLater(std::string_view key, void* item);
  // A position whose key equals key, or -1. Sorted lists give the first one.
  int PositionOfKey(std::string_view key) const;
  // The first position whose item is item, or -1.
  int PositionOfItem(const void* item) const;
  // The first position whose key is not less than key; Count() when none.
  int LowerBound(std::string_view key) const;
  // Empty text for a position out of range. Valid until the list changes.
  std::string_view KeyAt(int position) const;
  // Null for a position out of range.
  void* ItemAt(int position) const;
  // Replaces the item, key unchanged. False (and nothing done) out of range.
  bool SetItemAt(int position, void* item);
  // Removes the entry (never the item). False (and nothing done) out of range.
  bool DeleteAt(int position);
  // Sets every entry's item to null and keeps the entries.
  void ClearItems();
  void Clear();
  int Count() const { return count_ + static_cast<int>(staged_.size()); }
  NameListOrder Order() const { return order_; }

  // Calls visit(key, item) for each entry from position on, in order, until
  // visit returns false. The list must not change during the walk.
  template <class Visit>
  void ForEachFrom(int position, Visit&& visit) const;

 private:
  static constexpr int kChunkCapacity = 64;
  static constexpr int kInlineKey = 15;
  // A staged batch this large, and at least an eighth of the entries already
  // there, is sorted and merged; a smaller one is inserted entry by entry.
  static constexpr int kBatchMergeMinimum = 16;
  static constexpr int kBatchMergeRatio = 8;
  // Merged chunks are filled this far, leaving room on both sides.
  static constexpr int kPackedBegin = 8;
  static constexpr int kPackedSize = 48;
  struct Entry {
    void* item;
    std::string* longKey;   // in keyPool_ when the key is longer than kInlineKey, else null
    char text[kInlineKey];  // the key, or a long key's first bytes; zero-padded
    uint8_t length;
    std::string_view Key() const { return longKey ? std::string_view(*longKey) : std::string_view(text, length); }
  };
  // Searches read text and length as two 8-byte words.
  static_assert(offsetof(Entry, length) == offsetof(Entry, text) + kInlineKey);
  // Entries occupy slots [begin, begin + size) of the array.
  struct Chunk {
    int begin = 0;
    int size = 0;
    std::array<Entry, kChunkCapacity> slots;
    Entry& At(int offset) { return slots[begin + offset]; }
    const Entry& At(int offset) const { return slots[begin + offset]; }
  };
  struct Place {
    int chunk;
    int offset;
  };

  // The chunk and offset of a position in 0..Count()-1.
  Place Locate(int position) const;
  // Sorted lists: where key would be inserted (before equal keys).
  Place SortedInsertPlace(std::string_view key) const;
  int InsertAt(Place place, std::string_view key, void* item);
  // Makes room for one entry at place and counts it; returns where the room
  // is. The caller fills the slot and then calls Filled, which returns its
  // position.
  Place OpenSlot(Place place);
  int Filled(Place place);
  void EraseAt(Place place);
  // A chunk whose entries will start at begin.
  std::unique_ptr<Chunk> TakeChunk(int begin);
  void ShiftStarts(int fromChunk, int delta);
  void FillEntry(Entry& entry, std::string_view key, void* item);
  void ReleaseKey(const Entry& entry);
  // Merges the staged entries into the list, if there are any. Only a list
  // that is not const can have staged entries, so the merge never writes to
  // a const object.
  void Settle() const {
    if (!staged_.empty()) const_cast<NameListStorage*>(this)->MergeStaged();
  }
  void MergeStaged();
  // Sorts the staged entries and merges them with the entries in one pass
  // into freshly packed chunks.
  void MergeSortedBatch();
  // Keeps the copy of chunk c's last entry up to date; only sorted lists
  // search by it.
  void NoteLast(int c) {
    if (order_ == NameListOrder::Sorted) lastEntries_[c] = chunks_[c]->At(chunks_[c]->size - 1);
  }

  NameListOrder order_;
  int count_ = 0;
  std::vector<std::unique_ptr<Chunk>> chunks_;
  // Position of each chunk's first entry, plus origin_: an insert moves the
  // starts on whichever side of it has fewer chunks.
  std::vector<int> starts_;
  int origin_ = 0;
  static constexpr int kOriginLimit = 1 << 29;
  int StartOf(int c) const { return starts_[c] - origin_; }
  std::vector<Entry> lastEntries_;  // a copy of each chunk's last entry (sorted lists); only its key is read
  std::vector<std::unique_ptr<Chunk>> spare_;
  // Key strings: the first keysInUse_ of keyPool_ have been handed out, and
  // those in freeKeys_ have come back since. A deque keeps their addresses.
  std::deque<std::string> keyPool_;
  size_t keysInUse_ = 0;
  std::vector<std::string*> freeKeys_;
  mutable int cursor_ = 0;  // the chunk last located, for walks in order
  // Entries filed by AddLater and not yet merged, in the order they came;
  // their long keys are already in keyPool_.
  std::vector<Entry> staged_;
  // The sort order of a batch being merged (serials are indexes in
  // staged_), and room to sort it; kept for reuse.
  std::vector<BatchKey> batch_;
  std::vector<BatchKey> batchScratch_;
  // The chunks a merge is emptying; kept between merges so that it allocates nothing.
  std::vector<std::unique_ptr<Chunk>> mergedChunks_;
};

template <class Visit>
void NameListStorage::ForEachFrom(int position, Visit&& visit) const {
  Settle();
  if (position < 0) position = 0;
  if (position >= count_) return;
  Place place = Locate(position);
  for (int c = place.chunk; c < static_cast<int>(chunks_.size()); ++c) {
    const Chunk& chunk = *chunks_[c];
    for (int k = (c == place.chunk ? place.offset : 0); k < chunk.size; ++k) {
      const Entry& entry = chunk.At(k);
      if (!visit(entry.Key(), entry.item)) return;
    }
  }
}

// The typed face of NameListStorage: items are Item references the list
// never owns. The owner of each list decides who frees its items.
template <class Item>
class NameList {
 public:
  explicit NameList(NameListOrder order = NameListOrder::Unsorted) : storage_(order) {}

  int Add(std::string_view key, Item* item) { return storage_.Add(key, item); }
  void AddLater(std::string_view key, Item* item) { storage_.AddLater(key, item); }
  int PositionOfKey(std::string_view key) const { return storage_.PositionOfKey(key); }
  int PositionOfItem(const Item* item) const { return storage_.PositionOfItem(item); }
  int LowerBound(std::string_view key) const { return storage_.LowerBound(key); }
  std::string_view KeyAt(int position) const { return storage_.KeyAt(position); }
  Item* ItemAt(int position) const { return static_cast<Item*>(storage_.ItemAt(position)); }
  bool SetItemAt(int position, Item* item) { return storage_.SetItemAt(position, item); }
  bool DeleteAt(int position) { return storage_.DeleteAt(position); }
  void ClearItems() { storage_.ClearItems(); }
  void Clear() { storage_.Clear(); }
  int Count() const { return storage_.Count(); }
  NameListOrder Order() const { return storage_.Order(); }

  // visit(std::string_view key, Item* item) -> bool (false stops the walk).
  template <class Visit>
  void ForEachFrom(int position, Visit&& visit) const {
    storage_.ForEachFrom(position,
                         [&visit](std::string_view key, void* item) { return visit(key, static_cast<Item*>(item)); });
  }

 private:
  NameListStorage storage_;
};
