#pragma once
// Writing polygons as an SVG picture: one group per set, named and stroked in
// the set's colour, one polygon per facet, coordinates in picture units from
// the top left.

#include <cstdint>
#include <string>
#include <vector>

namespace corvina {

struct SvgGroup {
  std::string name;  // any bytes: escaped, and invalid UTF-8 replaced
  std::uint8_t red = 0, green = 0, blue = 0;
  std::vector<double> points;          // x, y pairs of every polygon in turn
  std::vector<std::uint32_t> corners;  // the number of points of each polygon
};

struct SvgPicture {
  int width = 1, height = 1;
  double strokeWidth = 1.0;
  std::vector<SvgGroup> groups;
};

enum class SvgWriteOutcome { Written, CannotOpen, WriteFailed };

// The text of the picture, as writeSvgFile writes it.
std::string svgText(const SvgPicture& picture);

// Text as XML character data or attribute value: &, <, >, " and ' escaped,
// control characters (which XML cannot hold) as spaces, and bytes that are
// not UTF-8 as U+FFFD.
std::string xmlEscaped(const std::string& text);

// Writes the picture to `path`; the file replaces an existing one only when
// it is complete.
SvgWriteOutcome writeSvgFile(const std::string& path, const SvgPicture& picture);

}  // namespace corvina
