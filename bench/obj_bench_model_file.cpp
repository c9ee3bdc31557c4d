#include "obj_bench_model_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace bench {

namespace {

// Exporters commonly write six decimals; this keeps the parse realistic.
void appendFloat(std::string& out, float value) {
  char buffer[64];
  out += ' ';
  out.append(buffer,
             std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr);
}

void appendInt(std::string& out, long long value) {
  char buffer[24];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

class BlockWriter {
 public:
  explicit BlockWriter(std::FILE* file) : file_(file) {}
  std::string& text() { return text_; }
  void maybeFlush() {
    if (text_.size() > (1u << 20)) flush();
  }
  void flush() {
    bytes_ += static_cast<long long>(text_.size());
    ok_ = std::fwrite(text_.data(), 1, text_.size(), file_) == text_.size() && ok_;
    text_.clear();
  }
  bool ok() const { return ok_; }
  long long bytes() const { return bytes_; }

 private:
  std::FILE* file_;
  std::string text_;
  bool ok_ = true;
  long long bytes_ = 0;
};

}  // namespace

bool writeGridObj(const std::string& path, long long triangles, GeneratedFile& result) {
  const long long quads = std::max(1LL, triangles / 2);
  const long long columns = std::max(1LL, static_cast<long long>(std::sqrt(double(quads))));
  const long long rows = std::max(1LL, quads / columns);
  const long long perRow = columns + 1;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  BlockWriter out(file);
  std::string& text = out.text();
  text += "# grid model for the load and save benchmark\n";
  for (long long r = 0; r <= rows; ++r) {
    for (long long c = 0; c <= columns; ++c) {
      const float x = static_cast<float>(c) * 0.01f - 5.0f;
      const float z = static_cast<float>(r) * 0.01f - 5.0f;
      text += "v";
      appendFloat(text, x);
      appendFloat(text, 0.25f * std::sin(x * 3.0f) * std::cos(z * 2.0f));
      appendFloat(text, z);
      text += '\n';
      out.maybeFlush();
    }
  }
  for (long long r = 0; r <= rows; ++r) {
    for (long long c = 0; c <= columns; ++c) {
      text += "vt";
      appendFloat(text, static_cast<float>(c) / static_cast<float>(columns));
      appendFloat(text, static_cast<float>(r) / static_cast<float>(rows));
      text += '\n';
      out.maybeFlush();
    }
  }
  for (long long r = 0; r <= rows; ++r) {
    for (long long c = 0; c <= columns; ++c) {
      const float nx = -0.75f * std::cos(static_cast<float>(c) * 0.03f);
      const float nz = 0.5f * std::sin(static_cast<float>(r) * 0.02f);
      const float length = std::sqrt(nx * nx + 1.0f + nz * nz);
      text += "vn";
      appendFloat(text, nx / length);
      appendFloat(text, 1.0f / length);
      appendFloat(text, nz / length);
      text += '\n';
      out.maybeFlush();
    }
  }
  const char* materials[] = {"paint", "chrome", "rubber"};
  for (long long r = 0; r < rows; ++r) {
    if (r % std::max(1LL, rows / 4) == 0) {
      text += "g part";
      appendInt(text, r / std::max(1LL, rows / 4) + 1);
      text += "\ns 1\n";
    }
    if (r % std::max(1LL, rows / 7) == 0) {
      text += "usemtl ";
      text += materials[(r / std::max(1LL, rows / 7)) % 3];
      text += '\n';
    }
    if (r == rows / 2) text += "# r upper half\n";
    for (long long c = 0; c < columns; ++c) {
      const long long a = r * perRow + c + 1, b = a + 1, d = a + perRow, e = d + 1;
      const long long faces[2][3] = {{a, b, e}, {a, e, d}};
      for (const auto& face : faces) {
        text += 'f';
        for (long long index : face) {
          text += ' ';
          appendInt(text, index);
          text += '/';
          appendInt(text, index);
          text += '/';
          appendInt(text, index);
        }
        text += '\n';
      }
      out.maybeFlush();
    }
  }
  out.flush();
  const bool ok = out.ok() && std::fclose(file) == 0;
  result.path = path;
  result.triangles = rows * columns * 2;
  result.vertices = (rows + 1) * perRow;
  result.bytes = out.bytes();
  return ok;
}

}  // namespace bench
