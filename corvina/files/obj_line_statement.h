#pragma once
// Which OBJ statement a normalised line holds. Keywords are matched at the
// start of the line without regard to letter case, each with its trailing
// space, so "F 1 2 3" is a facet while a lone "f" is not.

#include <cstddef>
#include <string_view>

namespace corvina {

enum class ObjStatement {
  Other,        // not understood; skipped
  Comment,      // "#" other than the two below
  Region,       // "# r "
  MapSettings,  // "# x/y/color/ppu "
  ShapeLine,    // "s " or "l ", kept as text
  Vertex,       // "v "
  TexVertex,    // "vt "
  Normal,       // "vn "
  Facet,        // "f " or "fo "
  Group,        // "g "
  Material,     // "usemtl "
};

struct ObjStatementMatch {
  ObjStatement kind = ObjStatement::Other;
  std::size_t argumentStart = 0;  // where the statement's arguments begin in the line
};

// The statement `line` holds and where its arguments begin (the whole line for
// a shape line, after the keyword and its space otherwise). Inline: every pass
// calls it for every line.
namespace detail {

inline char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `line` starts with `keyword` (lower case), ignoring letter case.
inline bool startsWithKeyword(std::string_view line, std::string_view keyword) {
  if (line.size() < keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (lowerAscii(line[i]) != keyword[i]) return false;
  }
  return true;
}

inline ObjStatementMatch match(ObjStatement kind, std::string_view keyword) {
  return {kind, keyword.size()};
}

}  // namespace detail

// The statement `line` holds and where its arguments begin (the whole line for
// a shape line, after the keyword and its space otherwise). Inline because
// every pass calls it for every line.
inline ObjStatementMatch classifyObjLine(std::string_view line) {
  using namespace detail;
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

// True when a line's raw bytes (ObjLineReader::peek) make it a `keyword`
// statement whatever follows: the keyword with its space (lower case) at the
// very start, then a character that begins a word, so normalising cannot
// change the start and the line cannot end after the keyword. False says
// nothing; the line may still be one after normalising. Inlined at every
// call, as the passes call it for nearly every line.
[[gnu::always_inline]] inline bool rawLineStartsStatement(std::string_view raw,
                                                          std::string_view keyword) {
  if (raw.size() <= keyword.size()) return false;
  // Byte by byte: a keyword is two or three bytes, and most lines differ in
  // the first.
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (raw[i] != keyword[i]) return false;
  }
  const char next = raw[keyword.size()];
  return static_cast<unsigned char>(next) > ' ' && next != '\\';
}

}  // namespace corvina
