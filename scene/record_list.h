// Containers of plain records filed in a NameList and owned by the container:
// a graphic's collision circles (SPIX_COLLISIONCIRCLE) and node points
// (SPIX_NODEPOINT). The scene creates and reads no records; it only frees them.
#pragma once

#include <memory>
#include <string_view>

#include "scene/name_list.h"

template <class Record>
class OwnedRecordList {
 public:
  OwnedRecordList() = default;
  OwnedRecordList(const OwnedRecordList&) = delete;
  OwnedRecordList& operator=(const OwnedRecordList&) = delete;
  ~OwnedRecordList() { ClearAll(); }

  // Appends the record and takes ownership of it; returns its position.
  int Add(std::string_view key, std::unique_ptr<Record> record) { return records_.Add(key, record.release()); }

  // Frees the record at the position and removes its entry; a position below
  // 0 or not below the count does nothing.
  void DeleteAt(int position) {
    if (position < 0 || position >= records_.Count()) return;
    std::unique_ptr<Record> owned(records_.ItemAt(position));
    records_.DeleteAt(position);
  }

  void ClearAll() {
    while (records_.Count() > 0) DeleteAt(0);
  }

  const NameList<Record>& Records() const { return records_; }

 private:
  NameList<Record> records_{NameListOrder::Unsorted};
};

struct CollisionCircle {
  float x = 0, y = 0;  // centre, texels from the frame's top-left corner
  float radius = 0;
};

struct NodePoint {
  float x = 0, y = 0;  // texels from the frame's top-left corner
};

using SPIX_COLLISIONCIRCLE = OwnedRecordList<CollisionCircle>;
using SPIX_NODEPOINT = OwnedRecordList<NodePoint>;
