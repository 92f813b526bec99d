// Record framing, the end of the first pass, the link tables and the files a conversion leaves.
#include "conversion_fixture.h"
#include "raw_records.h"

namespace ravelin::test {
namespace {

using Framing = ConversionTest;

TEST_F(Framing, EmptyDatabaseGivesBannerOnlyAndEmptyConvertedDatabase) {
    RawBuilder raw;
    const auto report = convert(raw);
    EXPECT_EQ(report.result, 1);
    EXPECT_EQ(read("a.log"), "\n\n\n==>FINAL FILE INDEX<==\n\n\n");
    EXPECT_TRUE(exists("a.tvd"));
    EXPECT_EQ(read("a.tvd"), "");
    EXPECT_FALSE(exists("a.tmp"));
}

TEST_F(Framing, EndMarkerStopsBeforeErasedFiller) {
    RawBuilder raw;
    add(raw, FileHeader{});
    const std::size_t header_length = raw.size();
    raw.end_marker().fill(300, 0xFF);
    const auto report = convert(raw);
    EXPECT_EQ(report.result, 1);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kEndMarker);
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), header_length);
    EXPECT_EQ(le16(tvd, 0), 0x1008);
    EXPECT_EQ(le16(tvd, 2), header_length);
}

TEST_F(Framing, IndexLinesOfEveryRecordAndBadRecordClosesThePass) {
    RawBuilder raw;
    add(raw, FileHeader{});
    raw.record(0x0001).text("hello", 8); // a note, 12 bytes
    raw.record(0x3100).u16(0).u8(0).u8(0).u32(0).u32(0).u16(0).u16(0);
    raw.record(0x7777).u32(0);
    const auto report = convert(raw);
    EXPECT_EQ(report.result, 1);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kBadRecord);
    const std::string log = first_pass_listing();
    EXPECT_NE(log.find("\n\n[ *** Note Record *** ]\nFILE INDEX\t\t\t\t70  \t112 \n"
                       "Record ID :\t\t\t\t1   \nRecord length :\t\t\t12  \n"),
              std::string::npos);
    EXPECT_NE(log.find("\n\n[ *** IPI Record *** ]\nFILE INDEX\t\t\t\t7c  \t124 \n"),
              std::string::npos);
    EXPECT_TRUE(log.ends_with("\n\n[ *** Bad Record*** ]"));
    EXPECT_EQ(read_bytes("a.tvd").size(), 112u + 12u + 20u);
}

} // namespace
} // namespace ravelin::test
