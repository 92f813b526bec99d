#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace exports {

namespace {

std::string failure(const std::string &what, const std::string &path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::string write_file_whole(const std::string &path, std::string_view text) {
    // The process id keeps two exports of the same database apart.
    const std::string temporary = path + ".part-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return failure("cannot create a file beside", path);
    const bool written = write_all(fd, text) && ::fsync(fd) == 0;
    const std::string error = written ? "" : failure("cannot write", temporary);
    if (::close(fd) != 0 && written) {
        ::unlink(temporary.c_str());
        return failure("cannot write", temporary);
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return error;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string rename_error = failure("cannot name", path);
        ::unlink(temporary.c_str());
        return rename_error;
    }
    return "";
}

} // namespace exports
