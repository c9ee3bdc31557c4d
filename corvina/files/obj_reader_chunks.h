#pragma once
// Cutting a file's bytes into chunks of whole lines for the reader's threads,
// and running one piece of work per chunk.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace corvina {

// True when a line starts at `position` of `input` however the lines before
// it were read: the bytes before are a line end (LF, CR LF, or a CR not
// followed by LF) that no backslash can have joined to the next line, which
// the ordinary character before it shows. Positions this cannot tell are
// refused, which only makes a chunk longer. Line cuts at 1023 characters never
// fall inside an escape or between a CR and its LF, so they do not matter.
bool objLineStartsAt(std::string_view input, std::size_t position);

// True when `chunk` ends with a line end that ends its last line whatever
// came before (as objLineStartsAt would say of the position after it), so
// every line of the chunk ends inside it and it can be read in place.
bool objChunkEndsItsLines(std::string_view chunk);

// How many chunks splitObjInput aims at for an input of `size` bytes: at most
// `parts`, each of at least `minimumBytes`, and at least one. It may make
// fewer where no line starts near a border.
std::size_t objInputParts(std::size_t size, std::size_t parts, std::size_t minimumBytes);

// Splits `input` into at most `parts` chunks of whole lines, each of at least
// `minimumBytes` bytes where the input allows. Every chunk starts where
// objLineStartsAt holds (the first at 0); together they are the input. An
// empty input gives one empty chunk.
std::vector<std::string_view> splitObjInput(std::string_view input, std::size_t parts,
                                            std::size_t minimumBytes);

// runParts (model/parallel_parts.h) for the reader's chunks.
void runObjChunks(std::size_t count, const std::function<void(std::size_t)>& work,
                  const std::function<void()>& whileWaiting);

// The threads a load uses when asked for `threads` (0: parallelThreads()).
std::size_t objReadThreads(int threads);

}  // namespace corvina
