// "PIPEn" names bulk endpoint n of the instrument (1 to 15; endpoint 0 is the control pipe).
#pragma once

#include <optional>

namespace usbbulk {

inline constexpr int kMaxEndpoint = 15;

std::optional<int> parsePipeName(const char *name);

} // namespace usbbulk
