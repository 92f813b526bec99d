// The command-line tool: the report, each reading's error, the counts of each rule and of
// NAME.exclude, and the exit status.
#include "../i2dwriter/tvd_builder.h"
#include "../tools/tool_runner.h"

#include <gtest/gtest.h>

namespace {

// An IPR standard record with its electrodes as distances from X (M), R = Vp / Itx.
tvd::Record ip(float x, float dn, float da, float db, float vp, float ro, float stdev) {
    tvd::Record r(0x0100);
    r.f32(x).f32(0).f32(0).u16(0).u16(1).f32(dn).f32(da).f32(db).u16(250).u16(0);
    return r.f32(vp).f32(1).f32(ro).f32(stdev);
}

using RavelinQc = ravelin::test::ToolTest;

TEST_F(RavelinQc, ReportsPairsAndErrorsWithTheExitStatus) {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("VIREL", 16).at(112))
        .add(tvd::survey_header("Client", "Grid", 2024, 0x03, 0x07))
        .add(tvd::ipi(0, 2, 2))
        .add(tvd::array(0x00))
        .add(tvd::profile_header(100, 0, 900))
        .add(ip(20, 10, -20, -10, 10, 100, 1)) // A B M N = 0 10 20 30
        .add(ip(0, 10, 20, 30, 10.4f, 104, 1)) // its reciprocal, 20 30 0 10
        .add(ip(30, 10, -30, -20, 5, 100, 5)); // alone, Stdev 5 %
    write("line.tvd", db.bytes());
    tvd::Database gravity_only;
    gravity_only.add(tvd::survey_header("Client", "Loop", 2024, 0x03, 0x07));
    write("kx4.tvd", gravity_only.bytes());

    const ravelin::test::ToolRun report = run(RAVELIN_QC_PATH, "--readings line.tvd");
    EXPECT_EQ(report.status, 0);
    EXPECT_NE(report.output.find("S1,L100N: 3 readings, 3 usable; 1 reciprocal pairs, 0 repeat"),
              std::string::npos)
        << report.output;
    EXPECT_NE(report.output.find("error model over 1 pairs: none"), std::string::npos);
    EXPECT_NE(report.output.find("S1,L100N,1,0,10,20,30,10,reciprocal,2,0.03922,0.03922,pair\n"),
              std::string::npos)
        << report.output;
    EXPECT_NE(report.output.find("S1,L100N,3,0,10,30,40,5,none,,,0.05,floor\n"), std::string::npos);

    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"--error-scope survey --error-floor 10 line.tvd", 0},
        {"missing.tvd line.tvd", 1},
        {"kx4.tvd", 1},
        {"--error-scope line line.tvd", 2},
        {"--error-floor -1 line.tvd", 2},
        {"", 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(run(RAVELIN_QC_PATH, c.arguments).status, c.status) << c.arguments;
    EXPECT_NE(run(RAVELIN_QC_PATH, "--readings --error-floor 10 line.tvd")
                  .output.find("S1,L100N,3,0,10,30,40,5,none,,,0.1,floor\n"),
              std::string::npos);
}

// Four readings with four M channels: a reciprocal pair, one of Stdev 12 % and one whose Ro is
// negative and whose decay rises; NAME.exclude names the Stdev one by where its electrodes stood.
TEST_F(RavelinQc, CountsWhatEachRuleFlagsAndWhatWasLeftOutByHand) {
    tvd::Database db;
    db.add(tvd::survey_header("Client", "Grid", 2024, 0x03, 0x07))
        .add(tvd::ipi(0, 2, 2))
        .add(tvd::array(0x00))
        .add(tvd::profile_header(100, 0, 900))
        .add(ip(20, 10, -20, -10, 10, 100, 1).f32(4).f32(3).f32(2).f32(1))
        .add(ip(0, 10, 20, 30, 10.4f, 104, 1).f32(4).f32(3).f32(2).f32(1))
        .add(ip(30, 10, -30, -20, 5, 100, 12).f32(4).f32(3).f32(2).f32(1)) // 0 10 30 40
        .add(ip(40, 10, -40, -30, 5, -50, 1).f32(4).f32(5).f32(2).f32(1));
    write("grid.tvd", db.bytes());
    const std::string exclusion = "S1 L100N 0 10 30 40 # noisy\n";
    write("grid.exclude", {exclusion.begin(), exclusion.end()});

    const ravelin::test::ToolRun report = run(RAVELIN_QC_PATH, "grid.tvd");
    EXPECT_EQ(report.status, 0);
    EXPECT_NE(report.output.find("  decays: 4 fitted as a t^b; 1 rising, 0 not positive, 0 not "
                                 "falling as a t^b, 0 off their dipole's master curve\n"),
              std::string::npos)
        << report.output;
    EXPECT_NE(report.output.find("  flagged: ro 1, nan 0, stdev 1, decay 1, reciprocal 0, rescon "
                                 "0; excluded by hand 1\n"),
              std::string::npos)
        << report.output;

    // The limits move the Stdev and ResCon (250 ohm in every reading) rules.
    EXPECT_NE(run(RAVELIN_QC_PATH, "--stdev-limit 15 --rescon-limit 200 grid.tvd")
                  .output.find("  flagged: ro 1, nan 0, stdev 0, decay 1, reciprocal 0, rescon 4;"),
              std::string::npos);
    EXPECT_EQ(run(RAVELIN_QC_PATH, "--rescon-limit -1 grid.tvd").status, 2);

    const std::string unreadable = "S1 L100N 0 10\n";
    write("grid.exclude", {unreadable.begin(), unreadable.end()});
    EXPECT_EQ(run(RAVELIN_QC_PATH, "grid.tvd").status, 1);
}

} // namespace
