#include "fuzz_harness.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace ravelin::fuzz {

namespace {

std::filesystem::path make_scratch_dir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ravelin-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) fail("cannot create a scratch folder");
    return pattern;
}

void remove_scratch_dir() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_dir(), ignored);
}

} // namespace

const std::filesystem::path &scratch_dir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path made = make_scratch_dir();
        std::atexit(remove_scratch_dir);
        return made;
    }();
    return dir;
}

void write_file(const std::filesystem::path &path, const std::uint8_t *data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out) fail("cannot write " + path.string());
}

Bytes read_file(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void fail(const std::string &what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace ravelin::fuzz
