// A large text made of independent pieces, as a CSV is of runs of a line's readings
// (line_runs.h), formatted on two threads at once: the calling thread formats each even piece
// straight into the text while a helper thread formats the odd piece after it aside, to be
// appended next. The text is the one a single thread makes.
#pragma once

#include "text_out.h"

#include <cstddef>
#include <functional>

namespace exports {

// Writes pieces 0 to count - 1 to out in order, piece i by format(i, text). format is called on
// two threads at once, for different pieces.
void format_pieces(std::size_t count,
                   const std::function<void(std::size_t piece, TextOut &text)> &format,
                   TextOut &out);

} // namespace exports
