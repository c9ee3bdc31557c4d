#include "files/obj_reader_sets.h"

#include <cstring>

namespace corvina {

ObjSetTableBuilder::ObjSetTableBuilder(std::vector<SetRecord>& table) : table_(table) {
  if (!table_.empty()) table_[0].setIndex = 0;
}

bool ObjSetTableBuilder::record(std::string_view name, int facetsBefore) {
  // The last entry is the sentinel, never a statement.
  if (static_cast<std::size_t>(statements_) + 1 >= table_.size()) return false;
  // Names are cut before they are compared, so a long name named twice is one
  // set rather than two entries with the same stored name.
  const std::string_view kept = name.substr(0, kSetNameSize - 1);
  auto found = names_.find(kept);
  if (found == names_.end()) {
    const int index = static_cast<int>(names_.size());
    SetRecord& entry = table_[static_cast<std::size_t>(index)];
    std::memset(entry.name, 0, sizeof entry.name);
    std::memcpy(entry.name, kept.data(), kept.size());
    found = names_.emplace(std::string(kept), index).first;
  }
  SetRecord& statement = table_[static_cast<std::size_t>(statements_)];
  statement.firstFacet = facetsBefore;
  statement.setIndex = found->second;
  ++statements_;
  return true;
}

void ObjSetTableBuilder::finish(int sentinelFacet) {
  if (static_cast<std::size_t>(statements_) < table_.size()) {
    table_[static_cast<std::size_t>(statements_)].firstFacet = sentinelFacet;
  }
}

}  // namespace corvina
