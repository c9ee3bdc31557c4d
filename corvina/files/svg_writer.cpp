#include "files/svg_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>

#include "files/atomic_file.h"

namespace corvina {

namespace {

// A coordinate with at most three decimals and no trailing zeros, in the C
// locale whatever the user's.
void appendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;
  value = std::round(value * 1000.0) / 1000.0;
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (error != std::errc()) return;
  char* last = end;
  while (last > buffer && last[-1] == '0') --last;
  if (last > buffer && last[-1] == '.') --last;
  out.append(buffer, last);
}

std::string hexColour(const SvgGroup& group) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", group.red, group.green, group.blue);
  return text;
}

// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0u) != 0x80u) return 0;
    code = code << 6 | (byte(at + i) & 0x3Fu);
  }
  // No overlong forms, surrogates or values past U+10FFFF; U+FFFE and U+FFFF
  // are not XML characters either.
  const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF ||
      code == 0xFFFE || code == 0xFFFF)
    return 0;
  return length;
}

}  // namespace

std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = utf8Length(text, i);
      if (length == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(text, i, length);
        i += length;
      }
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

std::string svgText(const SvgPicture& picture) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      std::to_string(picture.width) + "\" height=\"" + std::to_string(picture.height) +
      "\" viewBox=\"0 0 " + std::to_string(picture.width) + " " + std::to_string(picture.height) +
      "\">\n";
  std::string stroke;
  appendNumber(stroke, picture.strokeWidth);
  for (std::size_t g = 0; g < picture.groups.size(); ++g) {
    const SvgGroup& group = picture.groups[g];
    const std::string name = xmlEscaped(group.name);
    out += "<g id=\"set-" + std::to_string(g) + "\" data-name=\"" + name +
           "\" fill=\"none\" stroke=\"" + hexColour(group) + "\" stroke-width=\"" + stroke +
           "\" stroke-linejoin=\"round\">\n<title>" + name + "</title>\n";
    std::size_t next = 0;
    for (const std::uint32_t corners : group.corners) {
      out += "<polygon points=\"";
      for (std::uint32_t c = 0; c < corners && next + 1 < group.points.size(); ++c, next += 2) {
        if (c > 0) out += ' ';
        appendNumber(out, group.points[next]);
        out += ',';
        appendNumber(out, group.points[next + 1]);
      }
      out += "\"/>\n";
    }
    out += "</g>\n";
  }
  out += "</svg>\n";
  return out;
}

SvgWriteOutcome writeSvgFile(const std::string& path, const SvgPicture& picture) {
  std::string text;
  try {
    text = svgText(picture);
  } catch (const std::bad_alloc&) {
    return SvgWriteOutcome::WriteFailed;
  }
  AtomicFile file;
  if (!file.open(path)) return SvgWriteOutcome::CannotOpen;
  if (!file.write(text.data(), text.size()) || !file.commit()) return SvgWriteOutcome::WriteFailed;
  return SvgWriteOutcome::Written;
}

}  // namespace corvina
