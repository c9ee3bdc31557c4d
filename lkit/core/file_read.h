#pragma once

#include <string>

namespace lkit {

// What reading a settings file found.
struct FileRead {
  enum class Status {
    Read,        // `bytes` holds the whole file
    Missing,     // no file at the path
    Unreadable,  // something is there but it is not a file we can read; see `reason`
  };
  Status status = Status::Missing;
  std::string bytes;
  std::string reason;  // why the file could not be read, for the user
};

// Files larger than this are not taken for settings; nothing we write comes near.
inline constexpr std::size_t kMaxSettingsFileBytes = 64u << 20;

// Reads the regular file at `path` whole. A folder, a device, a FIFO, a file
// without read permission or one larger than kMaxSettingsFileBytes is
// Unreadable with a reason; the call never waits for a writer or throws.
FileRead readSettingsFile(const std::string& path);

}  // namespace lkit
