#include "atomic_file.h"

#include "portable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace exports {

namespace {

std::string failure(const std::string &what, const std::string &path) {
    return what + " " + path + ": " + std::strerror(errno);
}

using ravelin::portable::folder_of;
using ravelin::portable::sync_folder;

// The process id keeps two exports of the same database apart.
std::string temporary_name(const std::string &path) {
    return path + ".part-" + std::to_string(ravelin::portable::process_id());
}

// Writes the whole text under the temporary name; empty on success, else what went wrong (and
// no file is left).
std::string write_whole(const std::string &path, const std::string &temporary,
                        std::string_view text) {
    const int fd = ravelin::portable::create_for_writing(temporary.c_str());
    if (fd < 0) return failure("cannot create a file beside", path);
    int error = write_all(fd, text);
    if (ravelin::portable::close_file(fd) != 0 && error == 0) error = errno;
    if (error == 0) return "";
    std::remove(temporary.c_str());
    errno = error;
    return failure("cannot write", temporary);
}

} // namespace

FileBatch::~FileBatch() {
    jobs_.wait_all();
    for (const Staged &s : staged_)
        std::remove(s.temporary.c_str());
}

void FileBatch::stage_in_background(const std::string &path,
                                    const std::function<bool(TextOut &)> &write) {
    auto out = std::make_shared<TextOut>();
    if (!write(*out)) return;
    Staged &staged = staged_.emplace_back(Staged{path, temporary_name(path), ""});
    jobs_.run(
        [&staged, out] { staged.error = write_whole(staged.path, staged.temporary, out->text()); });
}

std::string FileBatch::stage(const std::string &path, const std::function<bool(TextOut &)> &write) {
    const std::string temporary = temporary_name(path);
    const int fd = ravelin::portable::create_for_writing(temporary.c_str());
    if (fd < 0) return failure("cannot create a file beside", path);
    int write_error = 0;
    bool keep = true;
    {
        TextOut out(fd, &jobs_);
        keep = write(out);
        out.flush();
        write_error = out.error();
    }
    const int close_error = ravelin::portable::close_file(fd) != 0 ? errno : 0;
    if (!keep) {
        std::remove(temporary.c_str());
        return "";
    }
    if (write_error || close_error) {
        std::remove(temporary.c_str());
        errno = write_error ? write_error : close_error;
        return failure("cannot write", temporary);
    }
    staged_.push_back({path, temporary, ""});
    return "";
}

FileBatch::Committed FileBatch::commit() {
    Committed result;
    jobs_.wait_all();
    std::vector<std::string> synced_folders;
    for (const Staged &s : staged_) {
        if (!s.error.empty()) continue;
        const std::string folder = folder_of(s.path);
        if (std::find(synced_folders.begin(), synced_folders.end(), folder) != synced_folders.end())
            continue;
        if (!sync_folder(folder, true)) {
            // Not on the disk for sure: no staged file may take its name.
            result.errors.push_back(failure("cannot sync the files written in", folder));
            return result;
        }
        synced_folders.push_back(folder);
    }
    for (const Staged &s : staged_) {
        if (!s.error.empty()) {
            result.errors.push_back(s.error);
            continue;
        }
        if (!ravelin::portable::replace_file(s.temporary, s.path)) {
            result.errors.push_back(failure("cannot name", s.path));
            std::remove(s.temporary.c_str());
        } else {
            result.named.push_back(s.path);
        }
    }
    staged_.clear();
    // The new names reach the disk too.
    for (const std::string &folder : synced_folders)
        sync_folder(folder, false);
    return result;
}

} // namespace exports
