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
// a shape line, after the keyword and its space otherwise).
ObjStatementMatch classifyObjLine(std::string_view line);

}  // namespace corvina
