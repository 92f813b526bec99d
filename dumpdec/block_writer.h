// Writes the output files' full blocks on a thread of its own: the system's copying of a
// conversion's hundred megabytes into the page cache then overlaps the formatting of the next
// blocks instead of following it. One writer serves every file of a conversion, in the order
// the blocks were handed over, so each file's bytes arrive in order.
#pragma once

#include "ordered_jobs.h"
#include "portable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace dumpdec {

class BlockWriter {
  public:
    // Hands over size bytes for file; they stay untouched until wait() for the returned ticket
    // returns. A write that fails sets failed.
    std::uint64_t write(std::FILE *file, const char *bytes, std::size_t size,
                        std::atomic<bool> &failed) {
        return jobs_.run([file, bytes, size, &failed] {
            if (ravelin::portable::write_bytes(bytes, size, file) != size) failed = true;
        });
    }
    // Returns once the write with this ticket, and every one handed over before it, is done.
    // Ticket 0 stands for none.
    void wait(std::uint64_t ticket) { jobs_.wait(ticket); }

  private:
    ravelin::OrderedJobs jobs_;
};

} // namespace dumpdec
