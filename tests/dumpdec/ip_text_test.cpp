// append_format against the C library's snprintf, byte for byte.
#include "ip_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace dumpdec::ip {
namespace {

std::string library(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string library(const char *format, ...) {
    std::va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    std::string text(static_cast<std::size_t>(std::vsnprintf(nullptr, 0, format, args)) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    va_end(args);
    text.pop_back();
    return text;
}

std::string ours(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string ours(const char *format, ...) {
    std::string text = "<";
    std::va_list args;
    va_start(args, format);
    append_vformat(text, format, args);
    va_end(args);
    return text.substr(1);
}

#define EXPECT_LIKE_LIBRARY(...) EXPECT_EQ(ours(__VA_ARGS__), library(__VA_ARGS__))

// Small deterministic generator for bit patterns.
std::uint64_t next(std::uint64_t &state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

TEST(IpText, FixedNotationOfEveryKindOfFloat) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 50000; ++i) {
        const auto bits = static_cast<std::uint32_t>(next(state));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        const double wide = value;
        ASSERT_EQ(ours("%-8.3f|%10.3f|%8.3f", wide, wide, wide),
                  library("%-8.3f|%10.3f|%8.3f", wide, wide, wide))
            << bits;
        // Values of the size instruments measure, where rounding shows in the last digit.
        const double measured =
            static_cast<float>(static_cast<std::int64_t>(next(state) % 2000000) / 1024.0 - 900.0);
        ASSERT_EQ(ours("%-8.3f %4.2f %.1f %.0f", measured, measured, measured, measured),
                  library("%-8.3f %4.2f %.1f %.0f", measured, measured, measured, measured));
    }
}

TEST(IpText, FixedNotationOfDoubles) {
    std::uint64_t state = 0x2545F4914F6CDD1Dull;
    for (int i = 0; i < 50000; ++i) {
        const std::uint64_t bits = next(state);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        ASSERT_EQ(ours("%-8.3f", value), library("%-8.3f", value)) << bits;
        const double ratio =
            static_cast<double>(next(state) % 100000) / static_cast<double>(1 + next(state) % 97);
        ASSERT_EQ(ours("%-8.3f", -ratio), library("%-8.3f", -ratio));
    }
}

TEST(IpText, TiesSignsAndSpecialValues) {
    for (double value :
         {0.0625, 0.1875, 2.5625, -0.0625, 0.5, 1.5, 2.5, -0.0001, -0.0, 0.0, 4503599627370496.0,
          9.0e15, -1.0e300, 1.0e-320, std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
          -std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_LIKE_LIBRARY("%-8.3f|%8.3f|%.0f|%4.2f|%f|%08.3f|%-8.7f", value, value, value, value,
                            value, value, value);
    }
}

TEST(IpText, IntegersCharactersAndTexts) {
    for (int value : {0, 7, -15, 340, 65535, -2147483647 - 1, 2147483647}) {
        EXPECT_LIKE_LIBRARY("%-4d|%4d|%d|%02d|%-1d", value, value, value, value, value);
        const auto u = static_cast<unsigned>(value);
        EXPECT_LIKE_LIBRARY("%-4x|%x|%2X|%02X|%04x|%1x|%-1x", u, u, u, u, u, u, u);
    }
    EXPECT_LIKE_LIBRARY("%c%c|%s|%-s|%8s|%-8s|100%%", 'W', 'E', "VES-1", "VES-1", "ab", "ab");
    EXPECT_LIKE_LIBRARY("no conversion at all\r\n");
    EXPECT_LIKE_LIBRARY("%ld|%5.2e|%g", 123456789012L, 0.000123, 2.5); // passed to the library
    EXPECT_LIKE_LIBRARY("%-4d|%s|%8.3f|%lu", 5, "x", 2.5, 7ul);        // taken back, then passed
}

} // namespace
} // namespace dumpdec::ip
