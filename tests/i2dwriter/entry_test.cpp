// The entry: results, output names, where a run stops, bounded reading and independent runs.
#include "writer_fixture.h"

#include <thread>
#include <vector>

using namespace tvd;

namespace {

Database one_profile(float ro) {
    Database db;
    db.add(survey_header("C", "P", 2006, 0x07, 0x15)).add(ipi(1, 0, 0)).add(array(0));
    db.add(profile_header(1.0f, 0, 0)).add(ipr_standard({.dn = 1, .ro = ro}));
    return db;
}

const std::string first_line = "   1,   1,     1.000, ***, ***, ***, ***\r\n";

} // namespace

TEST_F(WriterTest, InputThatCannotBeReadGivesZeroAndNoOutput) {
    EXPECT_EQ(i2dwriter_main(path("missing.tvd").c_str(), nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(path("missing.i2d")));

    std::filesystem::create_directory(path("folder.tvd"));
    EXPECT_EQ(i2dwriter_main(path("folder.tvd").c_str(), nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(path("folder.i2d")));
    EXPECT_EQ(i2dwriter_main(nullptr, nullptr), 0);
}

TEST_F(WriterTest, InputNamedLikeItsOutputIsRefusedUntouched) {
    ASSERT_TRUE(one_profile(1).write(path("x.i2d")));
    const std::string before = read(path("x.i2d"));
    EXPECT_EQ(i2dwriter_main(path("x.i2d").c_str(), nullptr), 0);
    EXPECT_EQ(read(path("x.i2d")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(WriterTest, OutputNameThatLinksToTheInputIsRefused) {
    ASSERT_TRUE(one_profile(1).write(path("x.tvd")));
    const std::string before = read(path("x.tvd"));
    std::filesystem::create_symlink(path("x.tvd"), path("x.i2d"));
    EXPECT_EQ(i2dwriter_main(path("x.tvd").c_str(), nullptr), 0);
    EXPECT_EQ(read(path("x.tvd")), before);
}

TEST_F(WriterTest, OutputThatCannotBeCreatedGivesZero) {
    ASSERT_TRUE(one_profile(1).write(path("x.tvd")));
    std::filesystem::create_directory(path("x.i2d"));
    EXPECT_EQ(i2dwriter_main(path("x.tvd").c_str(), nullptr), 0);
}

TEST_F(WriterTest, OutputNameIsCutAtTheFirstDotOfTheFileName) {
    std::filesystem::create_directory(path("season.2006"));
    ASSERT_TRUE(one_profile(1).write(path("season.2006/line7.conv.tvd")));
    EXPECT_EQ(i2dwriter_main(path("season.2006/line7.conv.tvd").c_str(), nullptr), 1);
    EXPECT_TRUE(std::filesystem::exists(path("season.2006/line7.i2d")));

    ASSERT_TRUE(one_profile(1).write(path("season.2006/survey")));
    EXPECT_EQ(i2dwriter_main(path("season.2006/survey").c_str(), nullptr), 1);
    EXPECT_NE(read(path("season.2006/survey.i2d")).find(first_line), std::string::npos);
}

TEST_F(WriterTest, EmptyInputGivesEmptyOutput) {
    EXPECT_EQ(convert(Database()), "");
    EXPECT_TRUE(std::filesystem::exists(path("survey.i2d")));
}

TEST_F(WriterTest, RunEndsAtTheFirstRecordKindItDoesNotHandle) {
    Database kx4;
    kx4.add(file_header()).add(Record(0x0800).u32(0).u32(0));
    for (const Record &r : {survey_header("C", "P", 1, 1, 1), ipi(1, 0, 0), array(0),
                            profile_header(1, 0, 0), ipr_standard({.dn = 1, .ro = 1})})
        kx4.add(r);
    EXPECT_EQ(convert(kx4), "");

    // A raw database in big-endian order: its first Record ID is no kind of the table.
    Database raw;
    raw.raw({0x10, 0x08, 0x00, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0});
    raw.add(profile_header(1, 0, 0)).add(ipr_standard({.dn = 1, .ro = 1}));
    EXPECT_EQ(convert(raw), "");

    Database end_marker = one_profile(1);
    end_marker.raw({0xFF, 0xFF, 0xFF, 0xFF}).add(ipr_standard({.dn = 1, .ro = 2}));
    EXPECT_EQ(convert(end_marker).find("2.000"), std::string::npos);
}

TEST_F(WriterTest, RecordThatDoesNotFitItsBufferEndsTheRun) {
    for (std::uint16_t length : {std::uint16_t{501}, std::uint16_t{3}, std::uint16_t{0}}) {
        Database db = one_profile(1);
        Record odd(0x0001);
        odd.u32(0).text("", 600).length(length);
        db.add(odd).add(ipr_standard({.dn = 1, .ro = 2}));
        const std::string out = convert(db);
        EXPECT_NE(out.find(first_line), std::string::npos) << length;
        EXPECT_EQ(out.find("2.000"), std::string::npos) << length;
    }
    Database longest = one_profile(1);
    longest.add(Record(0x0001).u32(0).text("", 492)).add(ipr_standard({.dn = 1, .ro = 2}));
    EXPECT_NE(convert(longest).find("2.000"), std::string::npos);
}

TEST_F(WriterTest, FieldsBeyondTheRecordLengthReadAsZero) {
    Database db;
    db.add(ipi(0, 4, 0)).add(array(0)).add(profile_header(1, 0, 0));
    db.add(ipr_standard({.dn = 1, .ro = 55, .m = {1, 2, 3, 4}}));
    // Ends after channel 1, then after dB: Ro and the channels are not there.
    Record short_channels(0x0100);
    short_channels.f32(0).f32(0).f32(0).u16(0).u16(1).f32(1).f32(0).f32(0).u16(0).u16(0);
    short_channels.f32(0).f32(0).f32(66).f32(0).f32(7).f32(8);
    db.add(short_channels);
    db.add(Record(0x0100).f32(0).f32(0).f32(0).u16(0).u16(1).f32(1).f32(0).f32(0));
    const std::string out = convert(db);
    EXPECT_NE(out.find("    55.000,     1.000,     2.000,     3.000,     4.000\r\n"
                       "   1,   1,    66.000,     7.000,     8.000,     0.000,     0.000\r\n"
                       "   1,   1,     0.000,     0.000,     0.000,     0.000,     0.000\r\n"),
              std::string::npos)
        << out;
}

TEST_F(WriterTest, RecordCutShortByTheEndOfTheFileIsProcessedAndEndsTheRun) {
    Database db = one_profile(1);
    const auto reading = ipr_standard({.x = 0, .dn = 1, .ro = 2}).bytes();
    db.raw({reading.begin(), reading.begin() + 44}); // ends where Ro begins
    const std::string out = convert(db);
    EXPECT_TRUE(out.ends_with(first_line + "   1,   1,       nan, ***, ***, ***, ***\r\n")) << out;
}

TEST_F(WriterTest, RunsInParallelThreadsDoNotShareState) {
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i) {
        Database db = one_profile(static_cast<float>(i + 1));
        db.add(ipi(0, 4, 0)).add(array(0x0C)).add(profile_header(2, 2, 10));
        for (int k = 0; k < 200; ++k)
            db.add(ipr_standard(
                {.x = static_cast<float>(k), .dn = 2, .da = 1.0f + i, .ro = 1, .m = {1, 2, 3, 4}}));
        const std::string input = path("run" + std::to_string(i) + ".tvd");
        ASSERT_TRUE(db.write(input));
        ASSERT_EQ(i2dwriter_main(input.c_str(), nullptr), 1);
        expected.push_back(read(path("run" + std::to_string(i) + ".i2d")));
    }
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            const std::string input = path("run" + std::to_string(i) + ".tvd");
            for (int repeat = 0; repeat < 10; ++repeat)
                if (i2dwriter_main(input.c_str(), nullptr) != 1 ||
                    read(path("run" + std::to_string(i) + ".i2d")) != expected[i])
                    ++mismatches[i];
        });
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
