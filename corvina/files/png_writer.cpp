#include "files/png_writer.h"

#include <zlib.h>

#include <array>
#include <memory>
#include <new>
#include <vector>

#include "files/atomic_file.h"

namespace corvina {

namespace {

void put32(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 24);
  at[1] = static_cast<std::uint8_t>(value >> 16);
  at[2] = static_cast<std::uint8_t>(value >> 8);
  at[3] = static_cast<std::uint8_t>(value);
}

// One chunk: length, type, data, and the CRC of type and data.
bool writeChunk(AtomicFile& file, const char (&type)[5], const std::uint8_t* data,
                std::size_t size) {
  std::uint8_t head[8];
  put32(head, static_cast<std::uint32_t>(size));
  for (int i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(type[i]);
  uLong crc = crc32(0L, head + 4, 4);
  if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
  std::uint8_t tail[4];
  put32(tail, static_cast<std::uint32_t>(crc));
  return file.write(reinterpret_cast<const char*>(head), sizeof head) &&
         (size == 0 || file.write(reinterpret_cast<const char*>(data), size)) &&
         file.write(reinterpret_cast<const char*>(tail), sizeof tail);
}

// The deflate stream, ended on every path.
class Deflater {
 public:
  Deflater() { ready_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
  ~Deflater() {
    if (ready_) deflateEnd(&stream_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  bool ready() const { return ready_; }

  // Compresses `size` bytes (or, with `finish`, ends the stream) and writes
  // each full output block as an IDAT chunk.
  bool put(AtomicFile& file, const std::uint8_t* data, std::size_t size, bool finish) {
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    for (;;) {
      stream_.next_out = out_.data();
      stream_.avail_out = static_cast<uInt>(out_.size());
      const int status = deflate(&stream_, finish ? Z_FINISH : Z_NO_FLUSH);
      if (status == Z_STREAM_ERROR) return false;
      const std::size_t produced = out_.size() - stream_.avail_out;
      if (produced > 0 && !writeChunk(file, "IDAT", out_.data(), produced)) return false;
      if (finish ? status == Z_STREAM_END : stream_.avail_out != 0) return true;
    }
  }

 private:
  z_stream stream_{};
  bool ready_ = false;
  std::array<std::uint8_t, 1 << 16> out_{};
};

}  // namespace

PngWriteOutcome writePngFile(const std::string& path, int width, int height, PngRowSource& rows) {
  if (width < 1 || height < 1 || width > kLargestPngSide || height > kLargestPngSide)
    return PngWriteOutcome::NotAPicture;
  std::vector<std::uint8_t> line;
  std::unique_ptr<Deflater> deflater;
  try {
    line.assign(static_cast<std::size_t>(width) * 4 + 1, 0);
    deflater = std::make_unique<Deflater>();
  } catch (const std::bad_alloc&) {
    return PngWriteOutcome::InsufficientMemory;
  }
  if (!deflater->ready()) return PngWriteOutcome::InsufficientMemory;
  AtomicFile file;
  if (!file.open(path)) return PngWriteOutcome::CannotOpen;

  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::uint8_t header[13] = {};
  put32(header, static_cast<std::uint32_t>(width));
  put32(header + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per channel
  header[9] = 6;  // colour type: RGBA
  // compression, filter method and interlace stay 0
  bool written = file.write(reinterpret_cast<const char*>(kSignature), sizeof kSignature) &&
                 writeChunk(file, "IHDR", header, sizeof header);
  for (int row = 0; row < height && written; ++row) {
    line[0] = 0;  // filter type none
    written =
        rows.row(row, line.data() + 1) && deflater->put(file, line.data(), line.size(), false);
  }
  written =
      written && deflater->put(file, nullptr, 0, true) && writeChunk(file, "IEND", nullptr, 0);
  if (!written) return PngWriteOutcome::WriteFailed;
  return file.commit() ? PngWriteOutcome::Written : PngWriteOutcome::WriteFailed;
}

}  // namespace corvina
