#include "files/obj_line_statement.h"

namespace corvina {

namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `line` starts with `keyword` (lower case), ignoring letter case.
bool startsWithKeyword(std::string_view line, std::string_view keyword) {
  if (line.size() < keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (lowerAscii(line[i]) != keyword[i]) return false;
  }
  return true;
}

ObjStatementMatch match(ObjStatement kind, std::string_view keyword) {
  return {kind, keyword.size()};
}

}  // namespace

ObjStatementMatch classifyObjLine(std::string_view line) {
  if (line.empty()) return {};
  if (line[0] == '#') {
    if (startsWithKeyword(line, "# r ")) return match(ObjStatement::Region, "# r ");
    if (startsWithKeyword(line, "# x/y/color/ppu ")) {
      return match(ObjStatement::MapSettings, "# x/y/color/ppu ");
    }
    return {ObjStatement::Comment, 0};
  }
  if (line.size() < 2) return {};
  // Dispatch on the first character so each line is compared with at most a
  // few keywords; vertex and facet lines, the bulk of a file, come first.
  switch (lowerAscii(line[0])) {
    case 'v':
      if (line[1] == ' ') return match(ObjStatement::Vertex, "v ");
      if (startsWithKeyword(line, "vt ")) return match(ObjStatement::TexVertex, "vt ");
      if (startsWithKeyword(line, "vn ")) return match(ObjStatement::Normal, "vn ");
      return {};
    case 'f':
      if (line[1] == ' ') return match(ObjStatement::Facet, "f ");
      if (startsWithKeyword(line, "fo ")) return match(ObjStatement::Facet, "fo ");
      return {};
    case 'g':
      if (line[1] == ' ') return match(ObjStatement::Group, "g ");
      return {};
    case 'u':
      if (startsWithKeyword(line, "usemtl ")) return match(ObjStatement::Material, "usemtl ");
      return {};
    case 's':
    case 'l':
      if (line[1] == ' ') return {ObjStatement::ShapeLine, 0};
      return {};
    default:
      return {};
  }
}

}  // namespace corvina
