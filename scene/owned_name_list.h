// OwnedNameList: a NameList that owns its items. Every item filed in it is
// freed when its entry is deleted, when the list is cleared and when the list
// goes. The figure list, the particle manager and a graphic's records use it.
#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "scene/name_list.h"

template <class Item>
class OwnedNameList {
 public:
  explicit OwnedNameList(NameListOrder order = NameListOrder::Unsorted) : list_(order) {}
  OwnedNameList(const OwnedNameList&) = delete;
  OwnedNameList& operator=(const OwnedNameList&) = delete;
  ~OwnedNameList() { Clear(); }

  // Files the item under key as NameList::Add does and takes it; returns its position.
  int Add(std::string_view key, std::unique_ptr<Item> item) {
    const int position = list_.Add(key, item.get());
    item.release();
    return position;
  }

  // Files the item as NameList::AddLater does and takes it.
  void AddLater(std::string_view key, std::unique_ptr<Item> item) {
    list_.AddLater(key, item.get());
    item.release();
  }

  // Frees the item at the position and removes its entry; a position outside
  // the list does nothing. The entry goes first, so the list never holds a
  // freed item while the item's destructor runs.
  void DeleteAt(int position) {
    if (position < 0 || position >= list_.Count()) return;
    std::unique_ptr<Item> owned(list_.ItemAt(position));
    list_.DeleteAt(position);
  }

  // Frees every item in list order, then empties the list without shifting entries.
  void Clear() {
    for (int i = 0; i < list_.Count(); ++i) {
      std::unique_ptr<Item> owned(list_.ItemAt(i));
      list_.SetItemAt(i, nullptr);
    }
    list_.Clear();
  }

  int Count() const { return list_.Count(); }
  // Null out of range; the list keeps the item.
  Item* ItemAt(int position) const { return list_.ItemAt(position); }
  std::string_view KeyAt(int position) const { return list_.KeyAt(position); }
  int PositionOfKey(std::string_view key) const { return list_.PositionOfKey(key); }
  int PositionOfItem(const Item* item) const { return list_.PositionOfItem(item); }
  int LowerBound(std::string_view key) const { return list_.LowerBound(key); }
  NameListOrder Order() const { return list_.Order(); }
  template <class Visit>
  void ForEachFrom(int position, Visit&& visit) const {
    list_.ForEachFrom(position, std::forward<Visit>(visit));
  }

 private:
  NameList<Item> list_;
};
