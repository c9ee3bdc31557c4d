#include "files/obj_reader_chunks.h"

#include <algorithm>

#include "model/parallel_parts.h"

namespace corvina {

namespace {

// A byte after which the escape and line-end state is plain whatever came
// before it: not a line end, not a NUL, not a backslash.
bool isOrdinaryByte(char c) {
  return c != '\n' && c != '\r' && c != '\0' && c != '\\';
}

}  // namespace

bool objLineStartsAt(std::string_view input, std::size_t position) {
  if (position == 0) return true;
  if (position < 2 || position >= input.size()) return false;
  const char end = input[position - 1];
  if (end == '\r') return input[position] != '\n' && isOrdinaryByte(input[position - 2]);
  if (end != '\n') return false;
  if (isOrdinaryByte(input[position - 2])) return true;
  // The LF of a CR LF pair.
  return input[position - 2] == '\r' && position >= 3 && isOrdinaryByte(input[position - 3]);
}

bool objChunkEndsItsLines(std::string_view chunk) {
  const std::size_t n = chunk.size();
  if (n < 2) return false;
  const char last = chunk[n - 1];
  if (last != '\n' && last != '\r') return false;
  if (isOrdinaryByte(chunk[n - 2])) return true;
  return last == '\n' && chunk[n - 2] == '\r' && n >= 3 && isOrdinaryByte(chunk[n - 3]);
}

std::size_t objInputParts(std::size_t size, std::size_t parts, std::size_t minimumBytes) {
  if (minimumBytes == 0) minimumBytes = 1;
  return std::max<std::size_t>(std::min(parts, size / minimumBytes), 1);
}

std::vector<std::string_view> splitObjInput(std::string_view input, std::size_t parts,
                                            std::size_t minimumBytes) {
  if (minimumBytes == 0) minimumBytes = 1;
  parts = objInputParts(input.size(), parts, minimumBytes);
  std::vector<std::string_view> chunks;
  std::size_t start = 0;
  for (std::size_t k = 1; k < parts; ++k) {
    std::size_t border = input.size() / parts * k;
    if (border < start + minimumBytes) border = start + minimumBytes;
    while (border < input.size() && !objLineStartsAt(input, border)) ++border;
    if (border >= input.size()) break;
    chunks.push_back(input.substr(start, border - start));
    start = border;
  }
  chunks.push_back(input.substr(start));
  return chunks;
}

void runObjChunks(std::size_t count, const std::function<void(std::size_t)>& work,
                  const std::function<void()>& whileWaiting) {
  runParts(count, work, whileWaiting);
}

std::size_t objReadThreads(int threads) {
  return threads > 0 ? static_cast<std::size_t>(threads) : parallelThreads();
}

}  // namespace corvina
