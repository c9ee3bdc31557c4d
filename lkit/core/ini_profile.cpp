#include "core/ini_profile.h"

#include "core/file_read.h"
#include "core/file_save.h"

namespace lkit {

std::string foldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

namespace {

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view cutToBuffer(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  return text.substr(0, bufferSize - 1);
}

}  // namespace

IniProfile IniProfile::parse(std::string_view text) {
  IniProfile profile;
  profile.sections_.push_back(Section{});  // lines before the first header
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) {
    text.remove_prefix(kByteOrderMark.size());
    profile.byteOrderMark_ = true;
  }
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;

    std::string_view trimmed = trimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      std::size_t close = trimmed.rfind(']');
      if (close != std::string_view::npos) {
        std::string name(trimBlanks(trimmed.substr(1, close - 1)));
        profile.sectionIndex_.emplace(foldCase(name), profile.sections_.size());
        profile.sections_.push_back(Section{std::move(name), {}, {}});
        continue;
      }
    }
    Section& current = profile.sections_.back();
    std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      std::string_view key = trimBlanks(line.substr(0, equals));
      if (!key.empty()) current.keyIndex.emplace(foldCase(key), current.lines.size());
    }
    current.lines.push_back(
        Line{std::string(line), equals == std::string_view::npos ? 0 : equals + 1});
  }
  return profile;
}

IniProfile IniProfile::load(const std::string& path, FileRead* found) {
  FileRead read = readSettingsFile(path);
  IniProfile profile = parse(read.status == FileRead::Status::Read ? read.bytes : std::string());
  if (found != nullptr) {
    read.bytes.clear();
    *found = std::move(read);
  }
  return profile;
}

const IniProfile::Line* IniProfile::find(std::string_view section, std::string_view key) const {
  auto s = sectionIndex_.find(foldCase(section));
  if (s == sectionIndex_.end()) return nullptr;
  const Section& found = sections_[s->second];
  auto k = found.keyIndex.find(foldCase(trimBlanks(key)));
  if (k == found.keyIndex.end()) return nullptr;
  return &found.lines[k->second];
}

std::string IniProfile::read(std::string_view section, std::string_view key,
                             std::string_view fallback, std::size_t bufferSize) const {
  const Line* line = find(section, key);
  if (line == nullptr) return std::string(cutToBuffer(fallback, bufferSize));
  std::string_view value = std::string_view(line->raw).substr(line->valueStart);
  return std::string(cutToBuffer(trimBlanks(value), bufferSize));
}

bool IniProfile::contains(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

IniProfile::Section& IniProfile::sectionFor(std::string_view name) {
  std::string folded = foldCase(name);
  auto found = sectionIndex_.find(folded);
  if (found != sectionIndex_.end()) return sections_[found->second];
  if (sections_.empty()) sections_.push_back(Section{});
  sectionIndex_.emplace(std::move(folded), sections_.size());
  sections_.push_back(Section{std::string(name), {}, {}});
  return sections_.back();
}

bool IniProfile::write(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view trimmedKey = trimBlanks(key);
  if (section.empty() || trimmedKey.empty() || holdsLineBreak(section) || holdsLineBreak(key) ||
      holdsLineBreak(value) || key.find('=') != std::string_view::npos) {
    return false;
  }
  Section& target = sectionFor(section);
  std::string folded = foldCase(trimmedKey);
  auto found = target.keyIndex.find(folded);
  if (found != target.keyIndex.end()) {
    Line& line = target.lines[found->second];
    line.raw.resize(line.valueStart);
    line.raw += value;
    return true;
  }
  Line entry;
  entry.raw.reserve(trimmedKey.size() + 1 + value.size());
  entry.raw += trimmedKey;
  entry.raw += '=';
  entry.raw += value;
  entry.valueStart = trimmedKey.size() + 1;
  target.keyIndex.emplace(std::move(folded), target.lines.size());
  target.lines.push_back(std::move(entry));
  return true;
}

std::string IniProfile::text() const {
  std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const Section& section = sections_[i];
    if (i > 0) {
      out += '[';
      out += section.name;
      out += "]\r\n";
    }
    for (const Line& line : section.lines) {
      out += line.raw;
      out += "\r\n";
    }
  }
  return out;
}

bool IniProfile::save(const std::string& path, std::string* reason) const {
  return saveFile(path, text(), reason);
}

}  // namespace lkit
