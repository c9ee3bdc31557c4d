#pragma once

#include <string>
#include <string_view>

namespace lkit {

// Makes the file at `path` hold exactly `bytes`, writing where the user
// pointed and never leaving a half-written file where a whole one stood:
// - a symbolic link is followed; the file it names gets the bytes and the
//   link stays;
// - a new or ordinary file is written to a temporary file beside it that is
//   renamed over it only when complete; the replaced file's owner, group and
//   mode carry over to the new one;
// - a target that is not a regular file (a device, a FIFO), a file with
//   several hard links, a file whose owner or group the temporary file cannot
//   take, and a file in a folder where no temporary file can be made are
//   written in place: room for the new bytes is claimed first, and should a
//   write still fail the previous bytes are put back;
// - a FIFO without a reader is a failure, never a wait.
// Returns false on any failure, with the reason (the system's words, such as
// "Permission denied") in `reason` when given.
bool saveFile(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

}  // namespace lkit
