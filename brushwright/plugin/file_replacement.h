#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where a save to `path` really writes: symbolic links are followed to the
// file they name (relative ones from the link's own folder; a dangling link
// gives the file it would create). Nothing for a loop of links.
std::optional<std::string> resolveSaveTarget(const std::string& path);

// True when a save to `target` (already resolved) could be attempted: an
// existing file that is not a folder and that the user may write, or a new
// name in a folder the user may write.
bool mayWriteTarget(const std::string& target);

// Makes the file `target` (already resolved) hold exactly `bytes`. An ordinary
// file is written to a temporary file beside it, given the old file's owner,
// group and mode, and renamed over it only when complete. A device or FIFO, a
// file with several hard links, a file whose owner or group the temporary file
// cannot take, and a file in a folder that refuses a temporary file are
// written in place; room is claimed before any byte changes, and a write that
// still fails puts the previous bytes back. A FIFO without a reader fails at
// once. False on any failure.
bool replaceFileContents(const std::string& target, std::string_view bytes);
