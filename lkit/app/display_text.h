#pragma once

#include <QString>
#include <string_view>

namespace lkit {

// A file system name or path as the lists show it. Names on this system are
// bytes; the valid UTF-8 sequences show as their characters and every byte
// that is not part of one shows as \xNN (lower-case hex), so two different
// names never look alike and none shows as U+FFFD.
QString displayText(std::string_view bytes);

}  // namespace lkit
