// Writing files that appear under their names only when complete. Each text goes to a temporary
// name beside its file; when all are written, one sync puts them on the disk together (far
// quicker than one sync per file for the hundreds of files of a full memory) and only then does
// each take its name.
#pragma once

#include "text_out.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace exports {

class FileBatch {
  public:
    FileBatch() = default;
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;
    ~FileBatch(); // removes what was staged and not committed

    // Writes text under a temporary name beside path. Empty on success, else what went wrong.
    std::string stage(const std::string &path, std::string_view text);
    // The same for the text write gives, handed to the file a chunk at a time. When write
    // answers false the file is dropped: nothing is staged, and that is no error.
    std::string stage(const std::string &path, const std::function<bool(TextOut &)> &write);

    struct Committed {
        std::vector<std::string> named;  // paths now complete under their names
        std::vector<std::string> errors; // what went wrong; those files are not there
    };
    // Syncs the staged files and gives each its name. A file already at a path is replaced only
    // by a complete one.
    Committed commit();

  private:
    // Creates the temporary file, has fill write to it (answering 0, else the errno of a
    // failure, and whether to keep the file) and stages it.
    std::string stage_with(const std::string &path,
                           const std::function<int(int fd, bool &keep)> &fill);

    struct Staged {
        std::string path, temporary;
    };
    std::vector<Staged> staged_;
};

} // namespace exports
