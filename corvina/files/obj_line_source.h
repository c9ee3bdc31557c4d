#pragma once
// Where the OBJ line reader gets its bytes: a file on disk or a block of
// memory. The reader reads each file several times, so a source can start
// again from its first byte.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "model/large_array.h"

namespace corvina {

// How reading a whole input at once ended.
enum class ObjWholeRead {
  Read,      // the bytes are at hand
  Failed,    // a read error
  Changed,   // the input changed or changed size while it was read
  NoMemory,  // no memory for the bytes
};

class ObjByteSource {
 public:
  virtual ~ObjByteSource() = default;

  // Copies up to `capacity` bytes into `destination`; returns how many. 0 means
  // the end of the input, or a read error when failed() says so.
  virtual std::size_t read(char* destination, std::size_t capacity) = 0;

  // Starts again from the first byte; false when the source cannot.
  virtual bool rewind() = 0;

  // True once a read or rewind has failed.
  virtual bool failed() const = 0;

  // The input's whole size when it is known before reading (bytes in
  // memory), so a reader need not hold more; nullopt for a file, which may
  // grow while it is read.
  virtual std::optional<std::size_t> knownSize() const { return std::nullopt; }

  // Reads the whole input (from where the source stands: its first byte
  // when new) into `block` (or shows bytes
  // the source holds already) and sets `bytes` to them; they stay valid while
  // `block` and the source do. A source that cannot tell whether its input
  // changed while it was read is read a second time and compared.
  virtual ObjWholeRead readWhole(LargeBlock& block, std::string_view& bytes);
};

// A regular file opened for binary reading; line ends are handled by the
// line reader, not by the C library.
class ObjFileSource : public ObjByteSource {
 public:
  ObjFileSource() = default;
  ObjFileSource(const ObjFileSource&) = delete;
  ObjFileSource& operator=(const ObjFileSource&) = delete;
  ~ObjFileSource() override { close(); }

  // Opens `path`; false when it names no readable regular file (a folder, a
  // device or a pipe could not be read three times, or never ends).
  bool open(const std::string& path);
  void close();

  std::size_t read(char* destination, std::size_t capacity) override;
  bool rewind() override;
  bool failed() const override { return failed_; }

  // One read at the file's size as it stands; Changed when the file then
  // ends early or goes on past that size.
  ObjWholeRead readWhole(LargeBlock& block, std::string_view& bytes) override;

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// Bytes already in memory (tests and the fuzz target). The bytes are not
// copied: they must outlive the source.
class ObjMemorySource : public ObjByteSource {
 public:
  explicit ObjMemorySource(std::string_view bytes) : bytes_(bytes) {}

  std::size_t read(char* destination, std::size_t capacity) override;
  bool rewind() override {
    position_ = 0;
    return true;
  }
  bool failed() const override { return false; }
  std::optional<std::size_t> knownSize() const override { return bytes_.size(); }
  ObjWholeRead readWhole(LargeBlock&, std::string_view& bytes) override {
    bytes = bytes_;
    return ObjWholeRead::Read;
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace corvina
