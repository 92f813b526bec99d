// What the decoder's compiled formats and the exports' number text both write decimal numbers
// with: the powers of ten, the table of digit pairs (numbers are written two digits at a time,
// from the right) and the count of a number's digits.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>

namespace ravelin::decimal {

inline constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                                 10ULL,
                                                 100ULL,
                                                 1000ULL,
                                                 10000ULL,
                                                 100000ULL,
                                                 1000000ULL,
                                                 10000000ULL,
                                                 100000000ULL,
                                                 1000000000ULL,
                                                 10000000000ULL,
                                                 100000000000ULL,
                                                 1000000000000ULL,
                                                 10000000000000ULL,
                                                 100000000000000ULL,
                                                 1000000000000000ULL,
                                                 10000000000000000ULL,
                                                 100000000000000000ULL,
                                                 1000000000000000000ULL,
                                                 10000000000000000000ULL};

inline constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                                      "25262728293031323334353637383940414243444546474849"
                                      "50515253545556575859606162636465666768697071727374"
                                      "75767778798081828384858687888990919293949596979899";

// The number of decimal digits of value, none for 0: its bits times log10(2) (1233 / 4096) gives
// the count or one less.
template <std::unsigned_integral Unsigned>
[[gnu::always_inline]] inline int digit_count(Unsigned value) {
    const int estimate = (static_cast<int>(std::bit_width(value)) * 1233) >> 12;
    return estimate + (value >= kPowersOfTen[estimate] ? 1 : 0);
}

} // namespace ravelin::decimal
