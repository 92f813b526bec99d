// ravelin-convert: one line per file in the order given, failures named, exit status.
#include "conversion_line.h"
#include "samples.h"
#include "tool_runner.h"

namespace ravelin::test {
namespace {

TEST(ConversionLine, NamesTheFilesOrTheFailure) {
    dumpdec::ConversionReport ok;
    ok.result = 1;
    ok.read_whole = true;
    ok.files_written = {"a.tvd", "a.txt"};
    EXPECT_EQ(convert_tool::conversion_line("a.raw", ok), "a.raw: converted -> a.tvd a.txt");

    dumpdec::ConversionReport stopped = ok;
    stopped.read_whole = false;
    stopped.pass_end = dumpdec::PassEnd::kBadRecord;
    EXPECT_EQ(convert_tool::conversion_line("a.raw", stopped),
              "a.raw: converted (stopped at an unknown record; raw database kept) -> a.tvd a.txt");

    dumpdec::ConversionReport failed;
    failed.failure = "cannot open a.raw: No such file or directory";
    EXPECT_EQ(convert_tool::conversion_line("a.raw", failed),
              "a.raw: FAILED: cannot open a.raw: No such file or directory");
}

using ConvertTool = ToolTest;

TEST_F(ConvertTool, ConvertsSeveralFilesInParallelInOrder) {
    const auto sample = sample::build_kx4({});
    for (const char *name : {"d1.raw", "d2.raw", "d3.raw", "d4.raw"})
        write(name, sample);
    const ToolRun run =
        this->run(RAVELIN_CONVERT, "--jobs 3 d1.raw d2.raw missing.raw d3.raw d4.raw");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "d1.raw: converted -> d1.tvd d1.txt d1.smp\n"
              "d2.raw: converted -> d2.tvd d2.txt d2.smp\n"
              "missing.raw: FAILED: cannot open missing.raw: No such file or directory\n"
              "d3.raw: converted -> d3.tvd d3.txt d3.smp\n"
              "d4.raw: converted -> d4.tvd d4.txt d4.smp\n");
    EXPECT_FALSE(exists("d1.raw")); // without --keep, like the keep flag zero
    EXPECT_FALSE(exists("d1.log"));
}

TEST_F(ConvertTool, KeepLeavesListingAndRawDatabase) {
    write("k.raw", sample::build_kx4({}));
    const ToolRun run = this->run(RAVELIN_CONVERT, "--keep k.raw");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "k.raw: converted -> k.tvd k.log k.txt k.smp\n");
    EXPECT_TRUE(exists("k.raw"));
}

TEST_F(ConvertTool, DamagedDatabaseIsConvertedAndKept) {
    auto bytes = sample::build_kx4({});
    bytes.resize(bytes.size() - 100);
    write("cut.raw", bytes);
    write("k.raw", sample::build_kx4({}));
    const ToolRun run = this->run(RAVELIN_CONVERT, "cut.raw k.raw");
    EXPECT_EQ(run.status, 3); // converted in part
    EXPECT_EQ(this->run(RAVELIN_CONVERT, "cut.raw missing.raw").status, 1);
    EXPECT_EQ(run.output.rfind("cut.raw: converted (the last record is cut short; raw database "
                               "kept) -> cut.tvd",
                               0),
              0u);
    EXPECT_TRUE(exists("cut.raw"));
}

TEST_F(ConvertTool, BadArgumentsShowUsage) {
    EXPECT_EQ(run(RAVELIN_CONVERT, "").status, 2);
    EXPECT_EQ(run(RAVELIN_CONVERT, "--jobs 0 a.raw").status, 2);
    EXPECT_EQ(run(RAVELIN_CONVERT, "--jobs x a.raw").status, 2);
    EXPECT_EQ(run(RAVELIN_CONVERT, "--frobnicate a.raw").status, 2);
}

} // namespace
} // namespace ravelin::test
