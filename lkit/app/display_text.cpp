#include "app/display_text.h"

namespace lkit {

namespace {

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when
// its first byte does not start one (overlong forms, surrogates and code
// points above U+10FFFF are not valid).
std::size_t validSequence(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) low = 0xA0;
    if (first == 0xED) high = 0x9F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

QString displayText(std::string_view bytes) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(bytes.size()));
  std::size_t pos = 0;
  std::size_t runStart = 0;  // start of the valid text not yet appended
  auto flush = [&] {
    if (pos > runStart) {
      shown += QString::fromUtf8(bytes.data() + runStart, static_cast<qsizetype>(pos - runStart));
    }
  };
  while (pos < bytes.size()) {
    std::size_t length = validSequence(bytes.substr(pos));
    if (length > 0) {
      pos += length;
      continue;
    }
    flush();
    shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes[pos]), 2, 16,
                                         QLatin1Char('0'));
    ++pos;
    runStart = pos;
  }
  flush();
  return shown;
}

}  // namespace lkit
