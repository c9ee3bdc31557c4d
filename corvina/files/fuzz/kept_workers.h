#pragma once
// The threads the OBJ reader's fuzz target runs a load's chunks on, started
// once and kept from one input to the next.
//
// Built without coverage counters: how often its threads poll and wait
// depends on timing, not on the input, and counted it would show the fuzzer
// new coverage that no input reproduces.

#include <cstddef>
#include <functional>

namespace corvina {

// Runs chunk 0 on the calling thread and chunk k on kept thread k - 1, as
// runObjChunks would run them: `whileWaiting` is called while the calling
// thread waits, and a chunk's exception is thrown again once all have ended.
// A single chunk runs on the calling thread alone.
void runKeptChunkWorkers(std::size_t count, const std::function<void(std::size_t)>& work,
                         const std::function<void()>& whileWaiting);

}  // namespace corvina
