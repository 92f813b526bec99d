// A new, empty folder of a test's own under the system's temporary folder, made the same way on
// every system the tests run on.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace ravelin::test {

// PREFIX-xxxxxx, six random letters; a name already taken is drawn again. Throws when the
// temporary folder cannot be written.
inline std::filesystem::path make_temp_folder(const std::string &prefix) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        std::string name = prefix + "-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        if (std::filesystem::create_directory(base / name)) return base / name;
    }
}

} // namespace ravelin::test
