#pragma once
// The yardstick for the OBJ save: the same lines in the same layout (default
// export options), formatted with plain std::to_chars into one buffer and
// written in 1 MiB blocks, then forced to disk like the real save (or kept in
// memory, for the formatting alone). It does none
// of the save's other work (compression, expansion, progress, atomic rename).

#include <string>
#include <vector>

#include "model/model_store.h"

namespace bench {

// `store` must hold its texture vertices in the compact form. Returns the
// number of bytes written, or -1 when the file cannot be written.
long long writeBaselineObj(const corvina::ModelStore& store, const std::string& path);

// The same lines into `whole` only, on this thread: the formatting alone.
// `whole` grows to fit and is meant to be reused, so that a repeat pays no
// page faults. Returns the number of bytes.
long long formatBaselineObj(const corvina::ModelStore& store, std::vector<char>& whole);

}  // namespace bench
