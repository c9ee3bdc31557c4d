#pragma once

#include <string>
#include <string_view>

namespace lkit {

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` only when every byte reached the disk, so a failed write leaves the
// previous file untouched. Returns false on any failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace lkit
