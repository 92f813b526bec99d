// Record framing, the end of the first pass, the link tables and the files a conversion leaves.
#include "conversion_fixture.h"
#include "raw_records.h"

#include <thread>

namespace ravelin::test {
namespace {

using Framing = ConversionTest;

// "s3.raw" from ("s", 3, ".raw"); appended piece by piece (GCC 12 misreads chained +).
std::string numbered(const char *prefix, int number, const char *extension) {
    std::string name(prefix);
    name.append(std::to_string(number)).append(extension);
    return name;
}

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

TEST_F(Framing, EveryRecordKindHasItsHeadingAndIndexLines) {
    const std::pair<std::uint16_t, std::string> kinds[] = {
        {0x0001, "\n\n[ *** Note Record *** ]"},
        {0x0100, "\n\n[ *** IPR Record Standard *** ]"},
        {0x0101, "\n\n[ *** IPR Record User *** ]"},
        {0x0102, "\n\n[ *** Bore Hole RES Data *** ]"},
        {0x0103, "\n\n[ *** Bore Hole SP Data *** ]"},
        {0x0104, "\n\n[ *** Bore Hole Fluid Data *** ]"},
        {0x0800, "\n\n[ *** KX-4 Data Record *** ]"},
        {0x1002, "\n\n[ *** Profile Header Record *** ]"},
        {0x1004, "\n\n[ *** Survey Header Record *** ]"},
        {0x1008, "\n\n[ *** File Header Record *** ]"},
        {0x1010, "\n\n[ *** Bore Hole Header Record *** ]"},
        {0x1100, "\n\n[ *** Sounding Header Record *** ]"},
        {0x3100, "\n\n[ *** IPI Record *** ]"},
        {0x4100, "\n\n[ *** Array Record *** ]"},
        {0x4800, "\n\n[ *** KX-4 Parameter Record *** ]"},
    };
    for (const auto &[id, heading] : kinds) {
        SCOPED_TRACE(heading);
        RawBuilder raw;
        add(raw, FileHeader{});
        raw.record(id).pad_to(200); // all fields 0: every line header has data to come
        raw.end_marker();
        const auto report = convert(raw);
        ASSERT_EQ(report.result, 1);
        EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kEndMarker);
        char index[120];
        std::snprintf(index, sizeof index,
                      "\nFILE INDEX\t\t\t\t70  \t112 \nRecord ID :\t\t\t\t%-4x\n"
                      "Record length :\t\t\t200 \n",
                      id);
        EXPECT_TRUE(Contains(first_pass_listing(), heading + index));
        EXPECT_EQ(read_bytes("a.tvd").size(), 312u);
    }
}

TEST_F(Framing, LastRecordEndingAtTheEndOfTheFileEndsOnTheLengthTest) {
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, SurveyHeader{});
    add(raw, Kx4Data{.samples = std::vector<std::int32_t>(4, 1)});
    const auto report = convert(raw, 0);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kLengthTest);
    EXPECT_TRUE(report.read_whole);
    // Keep flag zero: the converted files stay, the listing and the raw database go.
    EXPECT_TRUE(exists("a.tvd"));
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_TRUE(exists("a.smp"));
    EXPECT_FALSE(exists("a.log"));
    EXPECT_FALSE(exists("a.raw"));
    EXPECT_FALSE(exists("a.i2d"));
    EXPECT_FALSE(exists("a.tmp"));
    EXPECT_EQ(report.files_written,
              (std::vector<std::string>{path("a.tvd"), path("a.txt"), path("a.smp")}));
}

TEST_F(Framing, RawDatabaseIsKeptWheneverThePassStoppedEarly) {
    struct Case {
        const char *what;
        void (*damage)(RawBuilder &);
        dumpdec::PassEnd end;
    };
    const Case cases[] = {
        {"unknown record", [](RawBuilder &r) { r.record(0x2222).u32(1); },
         dumpdec::PassEnd::kBadRecord},
        {"length below 4", [](RawBuilder &r) { r.record(0x0800, 2).u32(1); },
         dumpdec::PassEnd::kBadLength},
        {"length above the buffer", [](RawBuilder &r) { r.record(0x0800, 25001).fill(25000, 0); },
         dumpdec::PassEnd::kBadLength},
        {"record cut short", [](RawBuilder &r) { r.record(0x0800, 200).u32(1); },
         dumpdec::PassEnd::kEndMarker},
        {"header cut short", [](RawBuilder &r) { r.end_record().u16(0x0800); },
         dumpdec::PassEnd::kBadLength},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RawBuilder raw;
        add(raw, FileHeader{});
        c.damage(raw);
        const auto report = convert(raw, 0);
        EXPECT_EQ(report.result, 1);
        EXPECT_EQ(report.pass_end, c.end);
        EXPECT_FALSE(report.read_whole);
        EXPECT_TRUE(exists("a.raw"));
        EXPECT_FALSE(exists("a.log")); // the listing follows the flag
        EXPECT_GE(read_bytes("a.tvd").size(), 112u);
    }
}

TEST_F(Framing, ImpossibleLengthsEndThePassLikeABadRecord) {
    RawBuilder raw;
    add(raw, FileHeader{});
    raw.record(0x1004, 3);
    ASSERT_EQ(convert(raw).result, 1);
    EXPECT_TRUE(
        first_pass_listing().ends_with("Pointer3:\t\t    \t0   \n\n\n[ *** Bad Record*** ]"));
    EXPECT_EQ(read_bytes("a.tvd").size(), 112u);
}

TEST_F(Framing, HeaderOnlyAndLargestRecordsAreAccepted) {
    RawBuilder raw;
    raw.record(0x1008, 4); // every field reads 0
    raw.record(0x0001, 25000).fill(24996, 'x');
    raw.end_marker();
    const auto report = convert(raw);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kEndMarker);
    EXPECT_TRUE(Contains(read("a.log"), "Record length :\t\t\t4   \nManufacture Name:\t\t\n"
                                        "Manufacture ID:   \t\t0   \n"));
    EXPECT_EQ(read_bytes("a.tvd").size(), 25004u);
}

TEST_F(Framing, ShortRecordsReadZeroBeyondTheirLengthAndWriteNothingMore) {
    RawBuilder raw;
    add(raw, FileHeader{.instrument_sn = 999, .soft_manuf_id = 0x1234});
    raw.record(0x1008).text("X", 16).u16(7).u16(0); // 24 bytes: cut inside Instrument Model
    raw.end_marker();
    ASSERT_EQ(convert(raw).result, 1);
    const std::string log = read("a.log");
    const std::string second = log.substr(log.find("FILE INDEX\t\t\t\t70"));
    EXPECT_TRUE(Contains(second, "Manufacture ID:   \t\t7   \nFamily ID:      \t\t0   \n"
                                 "Instrument Model:\t\t0   \n"));
    EXPECT_TRUE(Contains(second, "Instrument SN: \t\t0   \nSoft Manuf.ID: \t\t0   \n"));
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 112u + 24u);
    EXPECT_EQ(le16(tvd, 112 + 20), 7);
}

TEST_F(Framing, RecordCutByTheEndOfTheFileReadsErasedBytes) {
    RawBuilder raw;
    add(raw, FileHeader{.instrument_sn = 999, .soft_manuf_id = 0x1234});
    add(raw, FileHeader{});
    raw.truncate(112 - 46); // the second header ends after Instrument SN
    const auto report = convert(raw, 0);
    EXPECT_EQ(report.result, 1);
    EXPECT_TRUE(exists("a.raw"));
    const auto tvd = read_bytes("a.tvd");
    ASSERT_EQ(tvd.size(), 224u); // the record keeps its length, offsets stay true
    EXPECT_EQ(le16(tvd, 112 + 44), 1234);
    EXPECT_EQ(le16(tvd, 112 + 46), 0xFFFF); // not 0x1234 from the first header
    EXPECT_EQ(tvd[112 + 48], 0xFF);
}

TEST_F(Framing, OutputNamesCutAtTheFileNamesOwnFirstDot) {
    std::filesystem::create_directories(dir_ / "survey.2006");
    RawBuilder raw;
    add(raw, FileHeader{});
    write("survey.2006/line7.b.raw", raw.bytes());
    std::int16_t keep = 1;
    EXPECT_EQ(dumpdec::convert(path("survey.2006/line7.b.raw"), &keep).result, 1);
    EXPECT_TRUE(exists("survey.2006/line7.tvd"));
    EXPECT_TRUE(exists("survey.2006/line7.log"));
    EXPECT_FALSE(exists("survey.tvd"));

    write("dump", raw.bytes());
    EXPECT_EQ(dumpdec::convert(path("dump"), &keep).result, 1);
    EXPECT_TRUE(exists("dump.tvd"));

    const std::string long_name = std::string(200, 'n') + ".raw";
    write(long_name, raw.bytes());
    EXPECT_EQ(dumpdec::convert(path(long_name), &keep).result, 1);
    EXPECT_TRUE(exists(std::string(200, 'n') + ".tvd"));
}

TEST_F(Framing, InputNamedLikeItsOwnOutputIsRefusedUntouched) {
    RawBuilder raw;
    add(raw, FileHeader{});
    for (const char *name : {"x.txt", "x.log", "x.tvd", "x.tmp", "x.smp", "x.sn", "x.con"}) {
        SCOPED_TRACE(name);
        write(name, raw.bytes());
        std::int16_t keep = 0;
        const auto report = dumpdec::convert(path(name), &keep);
        EXPECT_EQ(report.result, 0);
        EXPECT_EQ(read_bytes(name), raw.bytes());
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
        std::filesystem::remove(dir_ / name);
    }
}

TEST_F(Framing, InputLinkedToItsOwnOutputIsRefusedUntouched) {
    RawBuilder raw;
    add(raw, FileHeader{});
    write("a.tvd", raw.bytes());
    std::filesystem::create_hard_link(dir_ / "a.tvd", dir_ / "a.raw");
    std::int16_t keep = 0;
    EXPECT_EQ(dumpdec::convert(path("a.raw"), &keep).result, 0);
    EXPECT_EQ(read_bytes("a.raw"), raw.bytes());
    EXPECT_FALSE(exists("a.log"));
}

TEST_F(Framing, FilesThatCannotBeOpenedGiveZero) {
    std::int16_t keep = 0;
    EXPECT_EQ(dumpdec::convert(path("missing.raw"), &keep).result, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 0);
    EXPECT_EQ(dumpdec::convert("", &keep).result, 0);
    std::filesystem::create_directory(dir_ / "folder.raw");
    EXPECT_EQ(dumpdec::convert(path("folder.raw"), &keep).result, 0);
    EXPECT_TRUE(exists("folder.raw"));
    std::filesystem::remove(dir_ / "folder.raw");

    RawBuilder raw;
    add(raw, FileHeader{});
    std::filesystem::create_directory(dir_ / "a.txt"); // the survey text file cannot be made
    const auto report = convert(raw, 0);
    EXPECT_EQ(report.result, 0);
    EXPECT_TRUE(exists("a.raw"));
    EXPECT_TRUE(exists("a.tmp")); // created before the failure, left as it is
    EXPECT_FALSE(exists("a.i2d"));
}

TEST_F(Framing, EachConversionStartsAfresh) {
    RawBuilder kx4;
    add(kx4, FileHeader{});
    add(kx4, SurveyHeader{});
    add(kx4, Kx4Data{});
    ASSERT_EQ(convert(kx4, 1, "k.raw").result, 1);
    EXPECT_TRUE(exists("k.smp"));
    EXPECT_FALSE(exists("k.i2d"));

    RawBuilder virel;
    add(virel, SurveyHeader{});
    add(virel, ProfileHeader{});
    ASSERT_EQ(convert(virel, 1, "v.raw").result, 1);
    EXPECT_TRUE(exists("v.i2d"));
    EXPECT_FALSE(exists("v.smp"));
    EXPECT_TRUE(read("v.txt").starts_with("\r\n/\tVirel Survey"));
    EXPECT_EQ(final_index_of("v.log"), "\nH_SURVEY\t0   \nNext_Survey\t0   \nFirst_Line\tb8  \n\n"
                                       "\nH_PROFILE\tb8  \nNext_Prof\t0   \nFirst_Data\t0   \n\n");
}

TEST_F(Framing, RawSamplesOfADatabaseWithoutFileHeaderAreKept) {
    RawBuilder raw;
    add(raw, SurveyHeader{});
    add(raw, Kx4Data{.samples = std::vector<std::int32_t>(4, 3)});
    ASSERT_EQ(convert(raw, 0).result, 1);
    EXPECT_TRUE(exists("a.smp"));
    EXPECT_TRUE(exists("a.i2d"));
}

TEST_F(Framing, ConversionsRunInParallelWithoutSharingState) {
    auto database = [](int which) {
        RawBuilder raw;
        if (which % 2 == 0) add(raw, FileHeader{});
        for (int s = 0; s < 3 + which; ++s) {
            add(raw, SurveyHeader{.flags = static_cast<std::uint16_t>(which % 3)});
            add(raw, ProfileHeader{.line_pos = static_cast<float>(which * 10 + s)});
            for (int r = 0; r < 40; ++r)
                add(raw, Kx4Data{.x = static_cast<float>(r),
                                 .samples = std::vector<std::int32_t>(8, which)});
        }
        return raw;
    };
    constexpr int kConversions = 4;
    for (int i = 0; i < kConversions; ++i) {
        auto raw = database(i);
        write(numbered("s", i, ".raw"), raw.bytes());
        write(numbered("p", i, ".raw"), raw.bytes());
    }
    const std::int16_t keep = 1;
    for (int i = 0; i < kConversions; ++i)
        ASSERT_EQ(dumpdec::convert(path(numbered("s", i, ".raw")), &keep).result, 1);
    std::vector<std::thread> threads;
    for (int i = 0; i < kConversions; ++i)
        threads.emplace_back([&, i] { dumpdec::convert(path(numbered("p", i, ".raw")), &keep); });
    for (auto &t : threads)
        t.join();
    for (int i = 0; i < kConversions; ++i)
        for (const char *ext : {".log", ".txt", ".tvd", ".smp"}) {
            SCOPED_TRACE(numbered("", i, ext));
            EXPECT_EQ(read(numbered("p", i, ext)), read(numbered("s", i, ext)));
        }
}

TEST_F(Framing, WriteFailureIsAFailureAndKeepsTheRawDatabase) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    RawBuilder raw;
    add(raw, FileHeader{});
    add(raw, SurveyHeader{});
    raw.end_marker();
    std::filesystem::create_symlink("/dev/full", dir_ / "a.txt"); // a full disk
    const auto report = convert(raw, 0);
    EXPECT_EQ(report.result, 0);
    EXPECT_NE(report.failure.find("a.txt"), std::string::npos);
    EXPECT_TRUE(exists("a.raw"));
    EXPECT_TRUE(exists("a.log"));
}

} // namespace
} // namespace ravelin::test
