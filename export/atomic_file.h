// Writing files that appear under their names only when complete. Each text goes to a temporary
// name beside its file; when all are written, one sync puts them on the disk together (far
// quicker than one sync per file for the hundreds of files of a full memory) and only then does
// each take its name.
#pragma once

#include "ordered_jobs.h"
#include "text_out.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace exports {

class FileBatch {
  public:
    FileBatch() = default;
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;
    ~FileBatch(); // removes what was staged and not committed

    // Writes the text write gives under a temporary name beside path, a chunk at a time: each
    // full chunk on the batch's own thread while the next is made. Empty on success, else what
    // went wrong. When write answers false the file is dropped: nothing
    // is staged, and that is no error.
    std::string stage(const std::string &path, const std::function<bool(TextOut &)> &write);
    // stage() for a text small enough to hold whole, as a profile's: written here, then created,
    // written and closed on the batch's own thread while the next text is written. What goes
    // wrong there shows in commit().
    void stage_in_background(const std::string &path, const std::function<bool(TextOut &)> &write);

    struct Committed {
        std::vector<std::string> named;  // paths now complete under their names
        std::vector<std::string> errors; // what went wrong; those files are not there
    };
    // Syncs the staged files and gives each its name. A file already at a path is replaced only
    // by a complete one.
    Committed commit();

  private:
    struct Staged {
        std::string path, temporary;
        std::string error; // a background write's failure; the file is not there
    };
    // A deque: the background jobs hold on to their entries while more are added.
    std::deque<Staged> staged_;
    ravelin::OrderedJobs jobs_; // after staged_: gone first, with every job done
};

} // namespace exports
