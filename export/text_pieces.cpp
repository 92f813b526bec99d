#include "text_pieces.h"

#include "ordered_jobs.h"

namespace exports {

void format_pieces(std::size_t count,
                   const std::function<void(std::size_t piece, TextOut &text)> &format,
                   TextOut &out) {
    TextOut aside;
    ravelin::OrderedJobs helper; // after aside: gone first, with its job done
    for (std::size_t piece = 0; piece < count; piece += 2) {
        const bool pair = piece + 1 < count;
        const std::uint64_t ticket = pair ? helper.run([&format, &aside, piece] {
            aside.clear();
            format(piece + 1, aside);
        })
                                          : 0;
        format(piece, out);
        helper.wait(ticket);
        if (pair) out.append(aside.text());
    }
}

} // namespace exports
