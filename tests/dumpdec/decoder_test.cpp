// Field access inside a record, the line formatter and the link tables.
#include "link_table.h"
#include "outputs.h"
#include "record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace dumpdec {
namespace {

std::unique_ptr<Record> record_of(std::initializer_list<std::uint8_t> bytes) {
    auto r = std::make_unique<Record>();
    std::size_t i = 0;
    for (std::uint8_t b : bytes)
        r->buffer[i++] = b;
    r->length = static_cast<std::uint16_t>(bytes.size());
    return r;
}

TEST(FieldAccess, ConvertsBigEndianFieldsInPlace) {
    auto r = record_of({0, 0, 0, 0, 0x12, 0x34, 0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00});
    EXPECT_EQ(r->convert_u16(4), 0x1234);
    EXPECT_EQ(r->buffer[4], 0x34);
    EXPECT_EQ(r->buffer[5], 0x12);
    EXPECT_EQ(r->convert_i16(6), -2);
    EXPECT_EQ(r->convert_f32(8), 1.0f);
    EXPECT_EQ(r->buffer[11], 0x3F);
}

TEST(FieldAccess, FieldsBeyondTheRecordReadZeroAndAreNotWritten) {
    auto r = record_of({0, 0, 0, 0, 0xAB, 0xCD});
    r->buffer[6] = 0x77; // left over from a longer record
    r->buffer[7] = 0x77;
    // A field that starts inside and runs past the end: the bytes beyond count as 0, and
    // nothing is rewritten, inside the record or beyond it.
    EXPECT_EQ(r->convert_u32(4), 0xABCD0000u);
    EXPECT_EQ(r->buffer[4], 0xAB);
    EXPECT_EQ(r->buffer[5], 0xCD);
    EXPECT_EQ(r->buffer[6], 0x77);
    EXPECT_EQ(r->buffer[7], 0x77);
    // A field wholly beyond the record.
    EXPECT_EQ(r->convert_u32(6), 0u);
    EXPECT_EQ(r->convert_f64(100), 0.0);
    EXPECT_EQ(r->byte(6), 0);
    EXPECT_EQ(r->convert_u32(kRecordBufferSize - 2), 0u);
    EXPECT_EQ(r->text(4, 16).size(), 2u);
    r->store_u32(4, 0x11223344);
    EXPECT_EQ(r->buffer[6], 0x77);
}

TEST(FieldAccess, TextStopsAtNulWidthAndRecordEnd) {
    auto r = record_of({0, 0, 0, 0, 'K', 'X', '-', '4', 0, 'z', 'A', 'B'});
    EXPECT_EQ(r->text(4, 16), "KX-4");
    EXPECT_EQ(r->text(4, 3), "KX-");
    EXPECT_EQ(r->text(9, 16), "zAB");
}

TEST(Formatter, LinesLongerThanAnyBufferAreWrittenWhole) {
    const auto path = std::filesystem::temp_directory_path() / "dumpdec-formatter-test.txt";
    {
        OutputFile listing;
        ASSERT_TRUE(listing.create(path.string()));
        const std::string note(5000, 'n');
        print(listing, "Text:\t\t\t\t\t%s\n"_fmt, note.c_str());
        print(listing, "%-8.3f|"_fmt, 1e300);
        print(listing, "short\n"_fmt);
        for (int i = 0; i < 30000; ++i) // lines across the ends of the file's blocks
            print(listing, "%-6d%8.3f\n"_fmt, i, i * 0.25);
        ASSERT_TRUE(listing.close());
    }
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    in.close(); // Windows removes no open file
    std::filesystem::remove(path);
    // 1e300 printed with "%f" is 305 characters.
    const std::string expected_float =
        "100000000000000005250476025520442024870446858110815915491585411551180245798890819578637137"
        "508044786404370444383288387817694252323536043057564479218478670698284838720092657580373783"
        "023379478809005936895323497079994508111903896764088007465274278014249457925878882005684283"
        "8115669472196386865459400540160.000|";
    std::string lines;
    char line[32];
    for (int i = 0; i < 30000; ++i)
        lines.append(line, static_cast<std::size_t>(
                               std::snprintf(line, sizeof line, "%-6d%8.3f\n", i, i * 0.25)));
    EXPECT_EQ(written, "Text:\t\t\t\t\t" + std::string(5000, 'n') + "\n" + expected_float +
                           "short\n" + lines);
}

TEST(LinkTables, ReadPastTheEndGivesZeroAndAppendStopsAtTheLimit) {
    LinkTable table;
    table.limit = 2;
    EXPECT_TRUE(table.append(10));
    EXPECT_TRUE(table.append(20));
    EXPECT_FALSE(table.append(30));
    EXPECT_EQ(table.count(), 2u);
    EXPECT_EQ(table.take(), 10u);
    EXPECT_EQ(table.take(), 20u);
    EXPECT_EQ(table.take(), 0u);
    EXPECT_EQ(table.take(), 0u);
}

TEST(TimeSplit, TruncatesEachPart) {
    const TimeOfDay t = split_time(45296999);
    EXPECT_EQ(t.hours, 12);
    EXPECT_EQ(t.minutes, 34);
    EXPECT_EQ(t.seconds, 56);
    const TimeOfDay zero = split_time(0);
    EXPECT_EQ(zero.hours + zero.minutes + zero.seconds, 0);
}

// Full blocks go to the writer's thread while the next fills: the file must still hold every
// byte in order, and a write that fails there must fail the close.
TEST(OutputFile, BlocksWrittenOnTheWriterThreadArriveInOrderAndFailuresShowAtClose) {
    const auto path = std::filesystem::temp_directory_path() / "dumpdec-block-writer-test.txt";
    BlockWriter writer;
    OutputFile file;
    ASSERT_TRUE(file.create(path.string(), &writer));
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        const std::string line = std::to_string(i) + "\n";
        file.write(line.data(), line.size());
        expected += line;
    }
    const std::string wide(300000, 'w'); // more than a block: written after the queued ones
    file.write(wide.data(), wide.size());
    file.write("end", 3);
    ASSERT_TRUE(file.close());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected + wide + "end");
    in.close();
    std::filesystem::remove(path);

    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFile full;
    ASSERT_TRUE(full.create("/dev/full", &writer));
    for (int i = 0; i < 8; ++i)
        full.write(wide.data(), 100000);
    EXPECT_FALSE(full.close());
}

} // namespace
} // namespace dumpdec
