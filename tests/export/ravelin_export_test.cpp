// The command-line tool: every path written on standard output, reasons on standard error, and
// the exit status by the worst result.
#include "export_fixture.h"

#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string output; // standard output only
};

ToolRun run_tool(const std::string &arguments) {
    ToolRun run;
    std::FILE *pipe = popen((RAVELIN_EXPORT_PATH " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe) return run;
    char chunk[512];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        run.output.append(chunk, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

using RavelinExport = export_test::ExportTest;

TEST_F(RavelinExport, PrintsEveryPathAndFailsWhenADatabaseHoldsNothingOfTheKind) {
    ASSERT_TRUE(export_test::virel({{.readings = {{.x = 10, .dn = 10, .da = -20, .db = -10}}}})
                    .write(path("ip.raw.tvd")));
    tvd::Database kx4;
    kx4.add(export_test::survey("Loop")).add(export_test::gravity({}));
    ASSERT_TRUE(kx4.write(path("kx4.tvd")));

    ToolRun run = run_tool("--format ohm " + path("ip.raw.tvd") + " " + path("kx4.tvd"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, path("ip-S1-L100N.ohm") + "\n");

    run = run_tool("--format=gravity-csv --utc-offset 2 " + path("kx4.tvd"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, path("kx4-gravity.csv") + "\n");

    for (const char *bad : {"", "--format ohm", "--format xls x.tvd", "--format ohm -q x.tvd",
                            "--format ohm --utc-offset 2 x.tvd",
                            "--format gravity-csv "
                            "--utc-offset 20 x.tvd"})
        EXPECT_EQ(run_tool(bad).status, 2) << bad;
}

} // namespace
