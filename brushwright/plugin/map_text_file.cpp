#include "plugin/map_text_file.h"

#include <optional>

#include "plugin/file_replacement.h"

bool MapTextFile::open(const std::string& targetPath) {
  opened_ = false;
  text_.clear();
  const std::optional<std::string> target = resolveSaveTarget(targetPath);
  if (!target || !mayWriteTarget(*target)) return false;
  targetPath_ = *target;
  opened_ = true;
  return true;
}

void MapTextFile::write(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t lineFeed = text.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      text_.append(text.substr(start));
      break;
    }
    text_.append(text.substr(start, lineFeed - start));
    text_.append("\r\n");
    start = lineFeed + 1;
  }
}

bool MapTextFile::commit() {
  if (!opened_) return false;
  opened_ = false;
  return replaceFileContents(targetPath_, text_);
}
