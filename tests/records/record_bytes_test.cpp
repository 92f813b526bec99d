// One record read from its bytes in both byte orders, and fields cut by the record's end.
#include "ip_records.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using records::ByteOrder;
using records::RecordBytes;

TEST(RecordBytes, ReadsTheSameReadingInEitherByteOrder) {
    // X = 1.5 (0x3FC00000), n = 0x0102, SP = -2, as the instrument and as the converter store them.
    std::array<std::uint8_t, 52> big{}, little{};
    const std::uint8_t x[] = {0x3F, 0xC0, 0x00, 0x00};
    for (int i = 0; i < 4; ++i) {
        big[4 + i] = x[i];
        little[7 - i] = x[i];
    }
    big[18] = 0x01, big[19] = 0x02, little[18] = 0x02, little[19] = 0x01;
    big[34] = 0xFF, big[35] = 0xFE, little[34] = 0xFE, little[35] = 0xFF;
    for (const auto &[bytes, order] :
         {std::pair{&big, ByteOrder::Big}, std::pair{&little, ByteOrder::Little}}) {
        const records::IpStandard r =
            records::read_ip_standard(RecordBytes(bytes->data(), 52, order));
        EXPECT_EQ(r.x, 1.5f);
        EXPECT_EQ(r.n, 0x0102);
        EXPECT_EQ(r.sp, -2);
    }
}

TEST(RecordBytes, BytesBeyondTheRecordReadAsZero) {
    const std::uint8_t bytes[] = {0, 0, 0, 0, 0x12, 0x34, 0x56, 0x78, 'a', 'b'};
    const RecordBytes big(bytes, 6, ByteOrder::Big), little(bytes, 6, ByteOrder::Little);
    EXPECT_EQ(big.u32(4), 0x12340000u);
    EXPECT_EQ(little.u32(4), 0x3412u);
    EXPECT_EQ(big.u16(8), 0u);
    EXPECT_EQ(RecordBytes(bytes, 10, ByteOrder::Little).text(8, 36), "ab");
    EXPECT_EQ(RecordBytes(bytes, 9, ByteOrder::Little).text(8, 36), "a");
}

} // namespace
