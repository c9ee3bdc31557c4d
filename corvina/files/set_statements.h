#pragma once
// The set statements ("g ", "usemtl ", "# r ") and kept lines as the OBJ and
// UVS writers write them, so that the reader gives back the same names.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/obj_write_buffer.h"
#include "model/model_store.h"

namespace corvina {

// A fixed-size text field up to its first NUL, or whole when it has none.
template <std::size_t N>
std::string_view fieldText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

// Writes `text` as the reader gives it back: it takes a backslash as an
// escape of the next character (and as a line join at a line's end), so every
// backslash is written escaped; a line break would end the statement, so it
// is written as a space.
void writeStatementText(std::string_view text, ObjWriteBuffer& out);

// Writes a table's statement whenever the set of the facets changes. An index
// outside its table (only a damaged stream has one) writes nothing rather than
// reading a name that does not exist.
class SetStatements {
 public:
  SetStatements(std::string_view keyword, const std::vector<SetRecord>& table, int numNames,
                bool enabled);

  // For a table without names: one statement of `name`, before any facet.
  void writeDefault(std::string_view name, ObjWriteBuffer& out) const;

  // Before a facet whose first corner carries `field`.
  void update(std::uint16_t field, ObjWriteBuffer& out);

  // What update does without writing: whether a statement is due before such
  // a facet, taking it as written.
  bool due(std::uint16_t field);

  // The table index of the last statement written (kNoStatement before the
  // first), and taking up a walk after it: a piece of the file formatted
  // apart starts with the statement state the facets before it left.
  static constexpr int kNoStatement = -1;
  int last() const { return last_; }
  void resumeAfter(int last) { last_ = last; }

 private:
  std::string_view keyword_;
  const std::vector<SetRecord>& table_;
  std::size_t count_;
  bool enabled_;
  int last_ = kNoStatement;
};

}  // namespace corvina
