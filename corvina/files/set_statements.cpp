#include "files/set_statements.h"

#include "model/model_walk.h"

namespace corvina {

void writeStatementText(std::string_view text, ObjWriteBuffer& out) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t special = text.find_first_of("\\\r\n", at);
    if (special == std::string_view::npos) break;
    out.plain(text.substr(at, special - at));
    if (text[special] == '\\') {
      out.plain("\\\\");
    } else {
      out.character(' ');
    }
    at = special + 1;
  }
  out.plain(text.substr(at));
}

SetStatements::SetStatements(std::string_view keyword, const std::vector<SetRecord>& table,
                             int numNames, bool enabled)
    : keyword_(keyword), table_(table), count_(presentCount(numNames, table)), enabled_(enabled) {}

void SetStatements::writeDefault(std::string_view name, ObjWriteBuffer& out) const {
  if (!enabled_ || count_ > 0) return;
  out.plain(keyword_);
  writeStatementText(name, out);
  out.lineEnd();
}

bool SetStatements::due(std::uint16_t field) {
  if (!enabled_ || count_ == 0) return false;
  const int index = field & kSetIndexMask;
  if (index == last_ || static_cast<std::size_t>(index) >= count_) return false;
  last_ = index;
  return true;
}

void SetStatements::update(std::uint16_t field, ObjWriteBuffer& out) {
  if (!due(field)) return;
  out.plain(keyword_);
  writeStatementText(fieldText(table_[static_cast<std::size_t>(last_)].name), out);
  out.lineEnd();
}

}  // namespace corvina
