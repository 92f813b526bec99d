// Writing a file that appears under its name only when complete: the text goes to a temporary
// name in the same folder, is synced, and then takes the name in one rename.
#pragma once

#include <string>
#include <string_view>

namespace exports {

// Empty on success, else what went wrong. A file already at path stays untouched on failure.
std::string write_file_whole(const std::string &path, std::string_view text);

} // namespace exports
