// Derived output names: the input path cut at the first "." of the file's own name (never at a
// "." in a folder name), then the new extension appended. A name without "." is not cut.
// Header-only so that each library and the program carry their own copy of the same rule.
#pragma once

#include "portable.h"

#include <string>
#include <string_view>

namespace ravelin {

inline std::string output_name(std::string_view input_path, std::string_view extension) {
    const std::size_t name_start =
        input_path.find_last_of(portable::kFolderSeparators) + 1; // npos + 1 == 0
    const std::size_t dot = input_path.find('.', name_start);
    std::string name(input_path.substr(0, dot));
    name += extension;
    return name;
}

} // namespace ravelin
