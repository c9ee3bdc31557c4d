#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The parts one after the other. Messages are built with this rather than
// chains of operator+ on literals, which GCC 12's -Wrestrict misreads at -O3.
inline std::string joinedText(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text.append(part);
  return text;
}
