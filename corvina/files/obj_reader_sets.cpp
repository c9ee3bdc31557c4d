#include "files/obj_reader_sets.h"

#include <cstring>

namespace corvina {

ObjSetTableBuilder::ObjSetTableBuilder(std::vector<SetRecord>& table) : table_(table) {
  if (!table_.empty()) table_[0].setIndex = 0;
}

int ObjSetTableBuilder::find(std::string_view name) const {
  if (distinct_ > kListedNames) {
    const auto found = names_.find(name);
    return found == names_.end() ? -1 : found->second;
  }
  for (int i = 0; i < distinct_; ++i) {
    if (listedLengths_[i] == name.size() &&
        std::memcmp(table_[static_cast<std::size_t>(i)].name, name.data(), name.size()) == 0) {
      return i;
    }
  }
  return -1;
}

bool ObjSetTableBuilder::record(std::string_view name, int facetsBefore) {
  // The last entry is the sentinel, never a statement.
  if (static_cast<std::size_t>(statements_) + 1 >= table_.size()) return false;
  // Names are cut before they are compared, so a long name named twice is one
  // set rather than two entries with the same stored name.
  const std::string_view kept = name.substr(0, kSetNameSize - 1);
  int index = find(kept);
  if (index < 0) {
    index = distinct_++;
    SetRecord& entry = table_[static_cast<std::size_t>(index)];
    std::memset(entry.name, 0, sizeof entry.name);
    std::memcpy(entry.name, kept.data(), kept.size());
    if (index < kListedNames) {
      listedLengths_[index] = static_cast<std::uint8_t>(kept.size());
    } else {
      if (index == kListedNames) {
        for (int i = 0; i < kListedNames; ++i) {
          names_.emplace(std::string(table_[static_cast<std::size_t>(i)].name, listedLengths_[i]),
                         i);
        }
      }
      names_.emplace(std::string(kept), index);
    }
  }
  SetRecord& statement = table_[static_cast<std::size_t>(statements_)];
  statement.firstFacet = facetsBefore;
  statement.setIndex = index;
  ++statements_;
  return true;
}

void ObjSetTableBuilder::finish(int sentinelFacet) {
  if (static_cast<std::size_t>(statements_) < table_.size()) {
    table_[static_cast<std::size_t>(statements_)].firstFacet = sentinelFacet;
  }
}

}  // namespace corvina
