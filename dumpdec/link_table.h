// One link table: entries appended in the first pass, read back in order in the second.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace dumpdec {

template <std::size_t N> struct LinkTable {
    std::array<std::uint32_t, N> entries{};
    std::size_t count = 0;      // entries written in the first pass
    std::size_t read_index = 0; // next entry the second pass takes

    static constexpr std::size_t capacity() { return N; }
    bool has_room() const { return count < N; }
    // Appends; returns false (and changes nothing) when the table is full.
    bool append(std::uint32_t offset) {
        if (count >= N) return false;
        entries[count++] = offset;
        return true;
    }
    // The entry at the read index, which advances; 0 past the end of the table.
    std::uint32_t take() {
        const std::uint32_t value = read_index < N ? entries[read_index] : 0;
        ++read_index;
        return value;
    }
};

} // namespace dumpdec
