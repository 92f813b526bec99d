// The line formatter against the C library's snprintf, byte for byte.
#include "line_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace dumpdec {
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

TEST(LineFormat, FixedNotationOfEveryKindOfFloat) {
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

TEST(LineFormat, FixedNotationOfDoubles) {
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

TEST(LineFormat, TiesSignsAndSpecialValues) {
    for (double value :
         {0.0625, 0.1875, 2.5625, -0.0625, 0.5, 1.5, 2.5, -0.0001, -0.0, 0.0, 4503599627370496.0,
          9.0e15, -1.0e300, 1.0e-320, std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
          -std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_LIKE_LIBRARY("%-8.3f|%8.3f|%.0f|%4.2f|%f|%08.3f|%-8.7f", value, value, value, value,
                            value, value, value);
    }
}

// Every fixed conversion the decoder prints, through the formats parsed when compiled.
#define THREE_DECIMALS "%-8.3f|%8.3f|%10.3f|%5.3f|%4.3f|%-4.3f|%4.2f|%-4.2f|%f"
#define OTHER_DECIMALS "%-4.1f|%-8.1f|%6.1f|%8.4f|%6.4f|%9.5f|%10.7f|%-12.7f|%-8.7f"

TEST(LineFormat, EveryFixedConversionOverMillionsOfValues) {
    const auto check = [](double v) {
        ASSERT_EQ(format_text(THREE_DECIMALS ""_fmt, v, v, v, v, v, v, v, v, v),
                  library(THREE_DECIMALS, v, v, v, v, v, v, v, v, v))
            << v;
        ASSERT_EQ(format_text(OTHER_DECIMALS ""_fmt, v, v, v, v, v, v, v, v, v),
                  library(OTHER_DECIMALS, v, v, v, v, v, v, v, v, v))
            << v;
    };
    std::uint64_t state = 0x5851F42D4C957F2Dull;
    for (int i = 0; i < 30000; ++i) {
        // Any single-precision value, and coordinates and times of the size the KX-4 prints.
        const auto bits = static_cast<std::uint32_t>(next(state));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        check(value);
        check(static_cast<float>(static_cast<std::int64_t>(next(state) % 400000000) / 1.0e6 - 200));
        check(static_cast<double>(static_cast<std::int64_t>(next(state) % 8000000000)) / 3.0e4);
    }
    // Ties at every precision: dyadic fractions end in ...5 at the digit after the last printed.
    for (int k = 0; k <= 12; ++k)
        for (int n = -300; n <= 300; ++n)
            check(std::ldexp(static_cast<double>(n), -k));
    for (double v :
         {-0.0, 0.0, static_cast<double>(FLT_MAX), -static_cast<double>(FLT_MAX),
          static_cast<double>(FLT_MIN), static_cast<double>(FLT_TRUE_MIN),
          -static_cast<double>(FLT_TRUE_MIN), DBL_MAX, -DBL_MAX, DBL_TRUE_MIN,
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::quiet_NaN(),
          9.999999949999999, 0.00000005, 1844674407.3709551615, 18446744073709551615.0})
        check(v);
}

TEST(LineFormat, IntegersCharactersAndTexts) {
    for (int value : {0, 7, -15, 340, 65535, -2147483647 - 1, 2147483647}) {
        EXPECT_LIKE_LIBRARY("%-4d|%4d|%d|%02d|%-1d", value, value, value, value, value);
        const auto u = static_cast<unsigned>(value);
        EXPECT_LIKE_LIBRARY("%-4x|%x|%2X|%02X|%04x|%1x|%-1x", u, u, u, u, u, u, u);
    }
    EXPECT_LIKE_LIBRARY("%c%c|%s|%-s|%8s|%-8s|100%%", 'W', 'E', "VES-1", "VES-1", "ab", "ab");
    EXPECT_LIKE_LIBRARY("no conversion at all\r\n");
    EXPECT_LIKE_LIBRARY("%lld|%5.2e|%g", 123456789012LL, 0.000123, 2.5); // passed to the library
    EXPECT_LIKE_LIBRARY("%-4d|%s|%8.3f|%lu", 5, "x", 2.5, 7ul);          // taken back, then passed
}

// Formats compiled into code, for the other conversions: every digit count, and a line that
// meets a value the compiled code leaves to the general path part way through.
TEST(LineFormat, CompiledIntegersCharactersAndTexts) {
    for (long long power = 1; power <= 10000000000LL; power *= 10)
        for (long long near : {power - 1, power, power + 1, -power, 0x7FFFFFFFLL, 0xFFFFFFFFLL}) {
            const auto value = static_cast<int>(near);
            const auto u = static_cast<unsigned>(near);
            ASSERT_EQ(format_text("%-4d|%4d|%d|%02d|%04x|%-4x|%02X|%X|%x"_fmt, value, value, value,
                                  value, u, u, u, u, u),
                      library("%-4d|%4d|%d|%02d|%04x|%-4x|%02X|%X|%x", value, value, value, value,
                              u, u, u, u, u));
        }
    EXPECT_EQ(
        format_text("%c%c|%s|%3s|%-8s|100%%"_fmt, 'W', 'E', "VES-1", " NO", std::string("ab")),
        library("%c%c|%s|%3s|%-8s|100%%", 'W', 'E', "VES-1", " NO", "ab"));
    for (double v : {1.5, -2.25, 1.0e300, -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(format_text("\r\n%-4d|%8.3f|%-8.3f|%s"_fmt, 12, v, v, "x"),
                  library("\r\n%-4d|%8.3f|%-8.3f|%s", 12, v, v, "x"));
}

TEST(LineFormat, EveryWidthAroundTheShortPaddingLimit) {
    char format[64];
    for (int width = 0; width <= 24; ++width)
        for (const char *flags : {"", "-"})
            for (double value : {0.0, -1.5, 123456.789, -4503599627370495.0, 9.0e15}) {
                std::snprintf(format, sizeof format, "[%%%s%d.3f|%%%s%dd|%%%s%dx]", flags, width,
                              flags, width, flags, width);
                const int whole = static_cast<int>(value / 1000.0);
                const auto bits = static_cast<unsigned>(whole);
                ASSERT_EQ(ours(format, value, whole, bits), library(format, value, whole, bits))
                    << format << " " << value;
            }
}

TEST(LineFormat, LinesLongerThanTheGatheringBuffer) {
    // Pieces that straddle the buffer's end, and a text and a padding wider than the buffer.
    const std::string long_text(700, 'n');
    for (std::size_t lead = 440; lead < 520; lead += 7) {
        const std::string head(lead, 'h');
        EXPECT_LIKE_LIBRARY("%s%-8.3f%10.3f%-4d|%6x\r\n%s", head.c_str(), 12.25, -3.0625, 42, 255u,
                            head.c_str());
    }
    EXPECT_LIKE_LIBRARY("%s|%-600d|%600.3f|%-900s|", long_text.c_str(), 5, 1.5, "x");
}

} // namespace
} // namespace dumpdec
