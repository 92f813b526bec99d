// The record builder the tests and tools share: both byte orders and the automatic length.
#include "raw_builder.h"

#include <gtest/gtest.h>

namespace ravelin::test {
namespace {

TEST(RawBuilder, BigAndLittleEndianRecordsWithTheirLengths) {
    RawBuilder big;
    big.record(0x1008).u16(0x0102).i32(-2).f32(1.0f).text("AB", 3).bcd(12);
    big.record(0x0800, 99).u8(7);
    big.end_marker();
    EXPECT_EQ(big.bytes(),
              (std::vector<std::uint8_t>{0x10, 0x08, 0x00, 0x12, 0x01, 0x02, 0xFF, 0xFF, 0xFF,
                                         0xFE, 0x3F, 0x80, 0x00, 0x00, 'A',  'B',  0,    0x12,
                                         0x08, 0x00, 0x00, 99,   7,    0xFF, 0xFF}));

    RawBuilder little(ByteOrder::kLittle);
    little.record(0x1004).u32(0x01020304).f64(2.0).pad_to(20);
    EXPECT_EQ(little.bytes(), (std::vector<std::uint8_t>{0x04, 0x10, 20, 0, 4, 3,    2, 1, 0, 0,
                                                         0,    0,    0,  0, 0, 0x40, 0, 0, 0, 0}));
}

} // namespace
} // namespace ravelin::test
