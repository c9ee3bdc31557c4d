#pragma once
// Fills one set table (groups, materials or regions) of the model store while
// the reader meets its statements. The table array holds two tables at once:
// the distinct names in order of first appearance, and per statement the
// facet count before it and the index of the name it named.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/model_store.h"

namespace corvina {

class ObjSetTableBuilder {
 public:
  // `table` must already hold one entry per expected statement plus the
  // sentinel; entry 0's set index starts at 0.
  explicit ObjSetTableBuilder(std::vector<SetRecord>& table);

  // Records a statement naming `name` (cut to 95 characters, then compared
  // exactly) after `facetsBefore` facets. False when the table has no room
  // left, which means the file changed since it was counted.
  bool record(std::string_view name, int facetsBefore);

  // Writes the sentinel after the last statement.
  void finish(int sentinelFacet);

  int distinctNames() const { return distinct_; }
  int statements() const { return statements_; }

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };

  // The index of `name` among the names recorded so far, -1 when new.
  int find(std::string_view name) const;

  // A few names are looked up in the table itself, where they are kept
  // anyway; a map of them is made only once there are more.
  static constexpr int kListedNames = 16;

  std::vector<SetRecord>& table_;
  int distinct_ = 0;
  std::uint8_t listedLengths_[kListedNames] = {};
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> names_;
  int statements_ = 0;
};

}  // namespace corvina
