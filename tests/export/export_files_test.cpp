// What an export tells the user and leaves on disk: the spreadsheet CSVs with their QC column,
// databases with nothing of a kind or damaged ones, and files that cannot take their name.
#include "export_fixture.h"
#include "portable.h"
#include "text_out.h"
#include "text_pieces.h"

#include <fcntl.h>
#include <limits>

namespace {

using export_test::Ip;
using ExportFiles = export_test::ExportTest;

std::vector<std::string> files_in(const std::filesystem::path &dir) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ExportFiles, SpreadsheetCsvNamesWhatIsDoubtful) {
    tvd::Database db;
    db.add(export_test::survey("Grid, \"north\""))
        .add(tvd::ipi(0, 2, 2))
        .add(tvd::array(0x11))
        .add(tvd::profile_header(100, 0, 0))
        .add(export_test::ip({.x = 5, .dn = 5, .da = -5, .db = 10, .m = {4, 3, 2, 1}}))
        .add(export_test::ip(
            {.x = 10, .dn = 5, .da = -5, .db = 10, .ro = -3, .stdev = 6, .m = {4, 3, 3.5f, 1}}))
        .add(tvd::Record(0x0101).at(68).f32(9).f32(0.5f).f32(4)) // free electrodes, one M
        .add(export_test::gravity({.sd = 0.2f, .duration = 60, .rejected = 7}));
    const auto outcome = run(db, exports::Format::Csv);
    ASSERT_TRUE(outcome.ok());
    ASSERT_EQ(outcome.written,
              (std::vector<std::string>{path("line7-ip.csv"), path("line7-kx4.csv")}));
    const std::string ip = read(outcome.written[0]);
    const std::string name = "\"Grid, \"\"north\"\"\",Line 100N,";
    EXPECT_EQ(ip,
              "SURVEY,LINE,ARRAY,OPERATING_MODE,WINDOWS,LINE_COORD,X,Y,Z,N,DN,DA,DB,A_X,A_Y,"
              "A_Z,B_X,B_Y,B_Z,M_X,M_Y,M_Z,N_X,N_Y,N_Z,RES_CON,SP,VP,ITX,RO,STDEV,M1,M2,M3,M4,"
              "QC\r\n" +
                  name +
                  "Wenner,0,4,0,5,0,0,1,5,-5,10,,,,,,,,,,,,,250,-15,120.5,0.5,100,0.5,"
                  "4,3,2,1,\r\n" +
                  name +
                  "Wenner,0,4,0,10,0,0,1,5,-5,10,,,,,,,,,,,,,250,-15,120.5,0.5,-3,6,4,"
                  "3,3.5,1,Ro not positive; Stdev above 5; M rising from window 2 to "
                  "3\r\n" +
                  name +
                  "free electrodes,0,4,0,,,,,,,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,9,0.5,4,,,,\r\n");
    const std::string kx4 = read(outcome.written[1]);
    EXPECT_TRUE(kx4.ends_with(
        ",0,00:00:00.000,2024-03-07,0,0,SD above 0.1 mGal; more than a tenth of the samples "
        "rejected\r\n"))
        << kx4;
}

TEST_F(ExportFiles, NothingOfTheKindIsAFailureAndWritesNothing) {
    tvd::Database db;
    db.add(export_test::survey("Loop")).add(export_test::gravity({}));
    const auto outcome = run(db, exports::Format::Res2dinv);
    EXPECT_TRUE(outcome.written.empty());
    EXPECT_EQ(outcome.failures,
              std::vector<std::string>{path("line7.tvd") + ": no IP profile readings to export"});
    EXPECT_EQ(files_in(dir_), std::vector<std::string>{"line7.tvd"});
}

TEST_F(ExportFiles, ADamagedDatabaseExportsWhatIsSoundAndSaysWhereItStopped) {
    tvd::Database db =
        export_test::virel({{.readings = {{.x = 10, .dn = 10, .da = -20, .db = -10, .m = {1}},
                                          {.x = 20, .dn = 10, .da = -20, .db = -10, .m = {1}}}}});
    std::vector<std::uint8_t> cut = db.bytes();
    cut.erase(cut.end() - 6, cut.end()); // the second reading ends early
    const auto outcome = run(tvd::Database().raw(cut), exports::Format::Ohm);
    ASSERT_EQ(outcome.written, std::vector<std::string>{path("line7-S1-L100N.ohm")});
    EXPECT_NE(read(outcome.written[0]).find("\n1# Number of data"), std::string::npos);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_TRUE(outcome.failures[0].starts_with(path("line7.tvd") + ": Reading stopped at byte "))
        << outcome.failures[0];
    EXPECT_TRUE(outcome.failures[0].ends_with(" Exported the readings before that point."));
}

TEST_F(ExportFiles, AFileThatCannotTakeItsNameLeavesNothingHalfWritten) {
    std::filesystem::create_directory(path("line7-gravity.csv")); // in the way of the rename
    tvd::Database db;
    db.add(export_test::survey("Loop")).add(export_test::gravity({}));
    const auto outcome = run(db, exports::Format::GravityCsv);
    EXPECT_TRUE(outcome.written.empty());
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_TRUE(outcome.failures[0].starts_with("cannot name " + path("line7-gravity.csv")))
        << outcome.failures[0];
    EXPECT_EQ(files_in(dir_), (std::vector<std::string>{"line7-gravity.csv", "line7.tvd"}));
}

// Profile files are created and written on a thread of their own: a file that cannot be made
// there is a failure, and the others of the export are still written whole.
TEST_F(ExportFiles, AProfileFileThatCannotBeCreatedFailsAloneAndLeavesNothing) {
    const std::string blocked = path("line7-S1-L100N.dat");
    std::filesystem::create_directory(blocked + ".part-" + std::to_string(getpid()));
    const std::vector<export_test::Profile> profiles = {
        {.array_code = 0x00,
         .line_pos = 100,
         .readings = {{.x = 20, .dn = 10, .da = -20, .db = -10}}},
        {.array_code = 0x00,
         .line_pos = 200,
         .readings = {{.x = 20, .dn = 10, .da = -20, .db = -10}}},
    };
    const auto outcome = run(export_test::virel(profiles), exports::Format::Res2dinv);
    EXPECT_EQ(outcome.written, std::vector<std::string>{path("line7-S1-L200N.dat")});
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_TRUE(outcome.failures[0].starts_with("cannot create a file beside " + blocked))
        << outcome.failures[0];
    std::filesystem::remove(blocked + ".part-" + std::to_string(getpid()));
    EXPECT_EQ(files_in(dir_), (std::vector<std::string>{"line7-S1-L200N.dat", "line7.tvd"}));
}

TEST_F(ExportFiles, AGravityCsvOfManyChunksIsWholeAndOneWithoutSoundReadingsIsNotWritten) {
    tvd::Database db;
    db.add(export_test::survey("Loop"));
    constexpr int kReadings = 6000; // some 650 KB: the file is written in pieces
    for (int i = 0; i < kReadings; ++i)
        db.add(export_test::gravity(
            {.x = static_cast<float>(i),
             .gravity = i == 1234 ? std::numeric_limits<float>::quiet_NaN() : 3900.5f}));
    auto outcome = run(db, exports::Format::GravityCsv);
    ASSERT_EQ(outcome.written, std::vector<std::string>{path("line7-gravity.csv")});
    const std::string text = read(outcome.written[0]);
    EXPECT_GT(text.size(), 2 * exports::TextOut::kChunk);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kReadings - 1 + 2); // header, note
    EXPECT_EQ(text.find("L0-1234,"), std::string::npos);
    EXPECT_NE(text.find("\nL0-1233,0.0000000,0.0000000,0.000,3900.500,"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\nL0-5999,0.0000000,0.0000000,0.000,3900.500,0.010,0.0,0.0,0.00,"
                               "0.000,60,0,00:00:00,45358.00000,0.000,3/7/2024\n"))
        << text.substr(text.size() - 200);

    tvd::Database unsound;
    unsound.add(export_test::survey("Loop"))
        .add(export_test::gravity({.gravity = std::numeric_limits<float>::infinity()}));
    std::filesystem::remove(outcome.written[0]);
    outcome = run(unsound, exports::Format::GravityCsv);
    EXPECT_TRUE(outcome.written.empty());
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.lost, std::vector<std::string>{path("line7.tvd") +
                                                     ": gravity: no file: its reading left out "
                                                     "(1 not a number)"});
    EXPECT_EQ(files_in(dir_), std::vector<std::string>{"line7.tvd"});
}

// Full chunks are written on the writer's thread: a write that fails there fails the flush.
TEST(TextOutOnAThread, AWriteThatFailsThereFailsTheFlush) {
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    ravelin::OrderedJobs writer;
    {
        exports::TextOut out(fd, &writer);
        const std::string line(100, 'x');
        for (std::size_t i = 0; i < 3 * exports::TextOut::kChunk / line.size(); ++i)
            out.append(line);
        EXPECT_FALSE(out.flush());
        EXPECT_EQ(out.error(), ENOSPC);
    }
    ::close(fd);
}

// Pieces made on two threads reach the file in order, an odd count's last one included, and a
// piece longer than a chunk goes in whole.
TEST(TextPieces, ReachTheFileInOrder) {
    const std::string path = testing::TempDir() + "text_pieces_" + std::to_string(getpid());
    auto piece_text = [](std::size_t piece) {
        return std::string(piece % 3 == 2 ? 300000 : 1000 * piece, static_cast<char>('a' + piece)) +
               std::to_string(piece) + ";";
    };
    for (std::size_t count : {0u, 1u, 8u, 9u}) {
        const int fd = ravelin::portable::create_for_writing(path.c_str());
        ASSERT_GE(fd, 0);
        ravelin::OrderedJobs writer;
        {
            exports::TextOut out(fd, &writer);
            exports::format_pieces(
                count,
                [&](std::size_t piece, exports::TextOut &text) { text.append(piece_text(piece)); },
                out);
            EXPECT_TRUE(out.flush());
        }
        ::close(fd);
        std::string expected;
        for (std::size_t piece = 0; piece < count; ++piece)
            expected += piece_text(piece);
        std::ifstream in(path, std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == expected) << count;
    }
    std::filesystem::remove(path);
}

} // namespace
