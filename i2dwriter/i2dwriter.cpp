#include "i2dwriter.h"

#include "output_name.h"
#include "pseudo_section_writer.h"

#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t stream_buffer_size = 64 * 1024;

} // namespace

extern "C" int i2dwriter_main(const char *path, void *) {
    if (path == nullptr) return 0;
    const std::string input_path(path);
    const std::string output_path = ravelin::output_name(input_path, ".i2d");
    // Creating the output would destroy the input it is made from.
    if (output_path == input_path) return 0;

    File input(std::fopen(input_path.c_str(), "rb"));
    if (!input) return 0;
    struct stat info {};
    if (fstat(fileno(input.get()), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    // The same refusal when the output name is another name of the input (a link).
    struct stat existing {};
    if (stat(output_path.c_str(), &existing) == 0 && existing.st_dev == info.st_dev &&
        existing.st_ino == info.st_ino)
        return 0;
    std::setvbuf(input.get(), nullptr, _IOFBF, stream_buffer_size);

    File output(std::fopen(output_path.c_str(), "w+b"));
    if (!output) return 0;

    i2dwriter::PseudoSectionWriter writer(input.get(), static_cast<std::uint64_t>(info.st_size),
                                          output.get());
    const bool written = writer.run();
    input.reset();
    const bool closed = std::fclose(output.release()) == 0;
    return written && closed ? 1 : 0;
}
