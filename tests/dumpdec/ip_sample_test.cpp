// The VIREL sample database of ravelin-sample: sound, complete and reproducible.
#include "convert.h"
#include "samples.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class VirelSample : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = ravelin::test::make_temp_folder("virel-sample"); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string read(const std::string &name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

std::size_t count(const std::string &text, const std::string &part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(VirelSample, ConvertsWholeWithEveryRecordKindAndFile) {
    const auto kind = ravelin::sample::sample_kinds();
    ASSERT_GE(kind.size(), 2u);
    ASSERT_EQ(kind[1].name, "virel");
    const auto raw = kind[1].build();
    {
        std::ofstream out(dir_ / "v.raw", std::ios::binary);
        out.write(reinterpret_cast<const char *>(raw.data()),
                  static_cast<std::streamsize>(raw.size()));
    }
    const std::int16_t keep = 1;
    const auto report = dumpdec::convert((dir_ / "v.raw").string(), &keep);
    ASSERT_EQ(report.result, 1);
    EXPECT_TRUE(report.read_whole);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kEndMarker);

    const std::string log = read("v.log");
    for (const char *heading :
         {"[ *** IPI Record *** ]", "[ *** Array Record *** ]", "[ *** Note Record *** ]",
          "[ *** Sounding Header Record *** ]", "[ *** IPR Record Standard *** ]",
          "[ *** IPR Record User *** ]", "[ *** Bore Hole Header Record *** ]",
          "[ *** Bore Hole RES Data *** ]", "[ *** Bore Hole SP Data *** ]",
          "[ *** Bore Hole Fluid Data *** ]"})
        EXPECT_GT(count(log, heading), 0u) << heading;
    EXPECT_EQ(count(log, "EMPTY  HEADER"), 2u); // an unmeasured line and an empty sounding

    const std::string text = read("v.txt");
    EXPECT_NE(text.find("\r\n/\tVirel Survey"), std::string::npos);
    EXPECT_NE(text.find("\r\nSounding\tVES-1\r\n/\tSchlumberger"), std::string::npos);
    const std::string i2d = read("v.i2d");
    EXPECT_EQ(count(i2d, "\r\nLINE\t"), 3u);
    EXPECT_EQ(count(i2d, "\r\n"), 3u * 9u + 3u * 40u); // header blocks and a line per reading
    for (const char *log_file : {"v.sn", "v.ln", "v.lat", "v.con", "v.sp"})
        EXPECT_GT(fs::file_size(dir_ / log_file), 0u) << log_file;
    EXPECT_FALSE(fs::exists(dir_ / "v.smp"));
}

TEST(VirelSampleShape, SameShapeSameBytesAndMemoryPadding) {
    const ravelin::sample::VirelShape shape{.surveys = 2, .stations = 3, .memory_size = 20000};
    const auto first = ravelin::sample::build_virel(shape);
    EXPECT_EQ(first, ravelin::sample::build_virel(shape));
    ASSERT_EQ(first.size(), 20000u);
    EXPECT_EQ(first.back(), 0xFF);
}

} // namespace
