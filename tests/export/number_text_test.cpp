// Fixed-decimal text as the exports write it: rounded as the exact binary value rounds, no
// negative zero, no exponent however large.
#include "number_text.h"
#include "portable.h"

#include <gtest/gtest.h>

TEST(NumberText, FixedDecimalsRoundTheExactValue) {
    EXPECT_EQ(exports::fixed(2.675, 2), "2.67"); // 2.67499999999999982236431605997495353221893
    EXPECT_EQ(exports::fixed(0.125, 2), "0.12"); // an exact half rounds to even
    EXPECT_EQ(exports::fixed(0.375, 2), "0.38");
    EXPECT_EQ(exports::fixed(-150.25, 3), "-150.250");
    EXPECT_EQ(exports::fixed(-0.0004, 3), "0.000");
    EXPECT_EQ(exports::fixed(-0.0, 1), "0.0");
    EXPECT_EQ(exports::fixed(7.5, 0), "8");
    EXPECT_EQ(exports::fixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(exports::fixed(1.0 / 3, 9), "0.333333333");
    EXPECT_EQ(exports::compact(120.5, 3), "120.5");
    EXPECT_EQ(exports::compact(-200.0, 3), "-200");
    std::string small;
    exports::append_significant(small, 0.0000123456789, 6, 3);
    EXPECT_EQ(small, "0.0000123457");
}

// The shortest fixed text of a float is what to_chars writes, across the exponents the integer
// arithmetic covers and beyond, with powers of two and values between two decimals among them.
TEST(NumberText, ExactFloatsAsToChars) {
    auto check = [](float value) {
        std::string ours;
        exports::append_exact(ours, value);
        char buffer[64];
        char *end = ravelin::portable::shortest_fixed_chars(buffer, buffer + sizeof buffer, value);
        EXPECT_EQ(ours, std::string(buffer, end))
            << std::hex << ravelin::portable::bit_cast<std::uint32_t>(value);
        return ours == std::string(buffer, end);
    };
    for (float value : {0.5f, 2.5f, 0.125f, 1024.0f, 3.0517578e-05f, 8388607.5f, 1e-30f, 9.999999f})
        check(value);
    for (std::uint32_t bits = 1; bits < 0x4C000000u; bits += 9973)
        if (!check(ravelin::portable::bit_cast<float>(bits)) ||
            !check(-ravelin::portable::bit_cast<float>(bits)))
            break;
}
