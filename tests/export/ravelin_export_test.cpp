// The command-line tool: every path written on standard output, reasons on standard error, and
// the exit status by the worst result.
#include "command_output.h"
#include "export_fixture.h"

#include <limits>

namespace {

struct ToolRun {
    int status = -1;
    std::string output; // standard output
    std::string errors; // standard error
};

using RavelinExport = export_test::ExportTest;

ToolRun run_tool(const std::string &arguments, const std::string &errors_file) {
    ToolRun run;
    const ravelin::test::CommandOutput out =
        ravelin::test::runCommand(RAVELIN_EXPORT_PATH " " + arguments + " 2>" + errors_file);
    run.status = out.status;
    run.output = out.output;
    std::ifstream in(errors_file);
    run.errors.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

// The exit status a script sees for each kind of result: readings left out one by one are
// notes (0); a profile or a database's gravity left out whole is 3, the rest still written; a
// database that fails is 1 whatever the others did; bad arguments 2.
TEST_F(RavelinExport, ExitStatusByTheWorstResult) {
    const export_test::Ip good{.x = 10, .dn = 10, .da = -20, .db = -10};
    export_test::Ip nan = good, coincident = good;
    nan.ro = std::numeric_limits<float>::quiet_NaN();
    coincident.dn = 0;
    ASSERT_TRUE(export_test::virel({{.readings = {good, nan}}}).write(path("one-by-one.tvd")));
    ASSERT_TRUE(export_test::virel({{.line_pos = 100, .readings = {coincident, coincident}},
                                    {.line_pos = 200, .readings = {good}}})
                    .write(path("whole.tvd")));
    std::vector<std::uint8_t> cut = export_test::virel({{.readings = {good, good}}}).bytes();
    cut.erase(cut.end() - 6, cut.end());
    ASSERT_TRUE(tvd::Database().raw(cut).write(path("damaged.tvd")));
    tvd::Database kx4;
    kx4.add(export_test::survey("Loop")).add(export_test::gravity({}));
    ASSERT_TRUE(kx4.write(path("kx4.tvd")));
    tvd::Database kx4_nan;
    kx4_nan.add(export_test::survey("Loop"))
        .add(export_test::gravity({.gravity = std::numeric_limits<float>::quiet_NaN()}));
    ASSERT_TRUE(kx4_nan.write(path("kx4-nan.tvd")));

    const struct {
        std::string arguments;
        int status;
        std::vector<std::string> written;
    } cases[] = {
        {"--format res2dinv one-by-one.tvd", 0, {"one-by-one-S1-L100N.dat"}},
        {"--format ohm whole.tvd", 3, {"whole-S1-L200N.ohm"}},
        {"--format gravity-csv kx4-nan.tvd kx4.tvd", 3, {"kx4-gravity.csv"}},
        {"--format ohm damaged.tvd", 1, {"damaged-S1-L100N.ohm"}},
        {"--format ohm whole.tvd damaged.tvd", 1, {"whole-S1-L200N.ohm", "damaged-S1-L100N.ohm"}},
        {"--format ohm kx4.tvd one-by-one.tvd", 1, {"one-by-one-S1-L100N.ohm"}},
        {"--format=gravity-csv --utc-offset 2 kx4.tvd", 0, {"kx4-gravity.csv"}},
        {"--format ohm --errors pairs --error-scope survey one-by-one.tvd",
         0,
         {"one-by-one-S1-L100N.ohm"}},
        {"--format gravity-csv --errors pairs kx4.tvd", 2, {}},
        {"--format ohm --error-floor 5 one-by-one.tvd", 2, {}},
    };
    for (const auto &c : cases) {
        std::istringstream words(c.arguments);
        std::string arguments, expected;
        for (std::string word; words >> word;)
            arguments.append(1, ' ').append(word.ends_with(".tvd") ? path(word) : word);
        for (const std::string &name : c.written)
            expected += path(name) + "\n";
        const ToolRun run = run_tool(arguments, path("errors"));
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.errors;
        EXPECT_EQ(run.output, expected) << c.arguments;
    }

    // The summary names the profile left out whole, and why, after the notes.
    const ToolRun run = run_tool("--format res2dinv " + path("whole.tvd"), path("errors"));
    EXPECT_TRUE(run.errors.ends_with("ravelin-export: " + path("whole.tvd") +
                                     ": S1-L100N: no file: its 2 readings all left out (2 "
                                     "electrodes at one place)\n"))
        << run.errors;

    for (const char *bad : {"", "--format ohm", "--format xls x.tvd", "--format ohm -q x.tvd",
                            "--format ohm --utc-offset 2 x.tvd",
                            "--format gravity-csv "
                            "--utc-offset 20 x.tvd"})
        EXPECT_EQ(run_tool(bad, "/dev/null").status, 2) << bad;
}

} // namespace
