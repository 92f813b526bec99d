#include "atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace exports {

namespace {

std::string failure(const std::string &what, const std::string &path) {
    return what + " " + path + ": " + std::strerror(errno);
}

std::string folder_of(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes everything written to the file system that holds folder, and the folder's entries.
bool sync_folder(const std::string &folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::syncfs(fd) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// The process id keeps two exports of the same database apart.
std::string temporary_name(const std::string &path) {
    return path + ".part-" + std::to_string(::getpid());
}

// Writes the whole text under the temporary name; empty on success, else what went wrong (and
// no file is left).
std::string write_whole(const std::string &path, const std::string &temporary,
                        std::string_view text) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return failure("cannot create a file beside", path);
    int error = write_all(fd, text);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) return "";
    ::unlink(temporary.c_str());
    errno = error;
    return failure("cannot write", temporary);
}

} // namespace

FileBatch::~FileBatch() {
    jobs_.wait_all();
    for (const Staged &s : staged_)
        ::unlink(s.temporary.c_str());
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
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return failure("cannot create a file beside", path);
    int write_error = 0;
    bool keep = true;
    {
        TextOut out(fd, &jobs_);
        keep = write(out);
        out.flush();
        write_error = out.error();
    }
    const int close_error = ::close(fd) != 0 ? errno : 0;
    if (!keep) {
        ::unlink(temporary.c_str());
        return "";
    }
    if (write_error || close_error) {
        ::unlink(temporary.c_str());
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
        if (!sync_folder(folder)) {
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
        if (std::rename(s.temporary.c_str(), s.path.c_str()) != 0) {
            result.errors.push_back(failure("cannot name", s.path));
            ::unlink(s.temporary.c_str());
        } else {
            result.named.push_back(s.path);
        }
    }
    staged_.clear();
    // The new names reach the disk too.
    for (const std::string &folder : synced_folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    return result;
}

} // namespace exports
