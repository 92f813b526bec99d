// ravelin-sample and the sample databases: realistic, sound and reproducible.
#include "convert.h"
#include "samples.h"
#include "tool_runner.h"

namespace ravelin::test {
namespace {

using Sample = ToolTest;

TEST_F(Sample, Kx4SampleConvertsWholeWithDataInEveryFile) {
    ASSERT_EQ(run(RAVELIN_SAMPLE, "s.raw").status, 0);
    const std::int16_t keep = 1;
    const auto report = dumpdec::convert((dir_ / "s.raw").string(), &keep);
    ASSERT_EQ(report.result, 1);
    EXPECT_TRUE(report.read_whole);
    EXPECT_EQ(report.pass_end, dumpdec::PassEnd::kEndMarker);
    std::ifstream txt(dir_ / "s.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(txt), {}};
    EXPECT_NE(text.find("\r\n/\tKX-4 SURVEY"), std::string::npos);
    EXPECT_NE(text.find("\r\nLine\t 200.000N"), std::string::npos);
    EXPECT_GT(std::filesystem::file_size(dir_ / "s.smp"), 0u);
    EXPECT_FALSE(exists("s.i2d"));
}

TEST_F(Sample, KindsAreNamedAndUnknownKindsRefused) {
    EXPECT_EQ(sample::sample_kinds().front().name, "kx4");
    EXPECT_EQ(run(RAVELIN_SAMPLE, "k.raw --kind kx4").status, 0);
    EXPECT_TRUE(exists("k.raw"));
    EXPECT_EQ(run(RAVELIN_SAMPLE, "x.raw --kind nonsense").status, 2);
    EXPECT_FALSE(exists("x.raw"));
    EXPECT_EQ(run(RAVELIN_SAMPLE, "").status, 2);
}

TEST(SampleShape, SameShapeSameBytesAndMemoryPadding) {
    const sample::Kx4Shape shape{.surveys = 2, .samples_per_reading = 8, .memory_size = 9000};
    const auto first = sample::build_kx4(shape);
    EXPECT_EQ(first, sample::build_kx4(shape));
    ASSERT_EQ(first.size(), 9000u);
    EXPECT_EQ(first.back(), 0xFF);
}

} // namespace
} // namespace ravelin::test
