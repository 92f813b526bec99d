// The command-line tool: one line per file in the order given, exit status by the worst result.
#include "command_output.h"
#include "writer_fixture.h"

namespace {

using ToolRun = ravelin::test::CommandOutput;

ToolRun run_tool(const std::string &arguments) {
    return ravelin::test::runCommand(std::string(RAVELIN_I2D_PATH) + " " + arguments + " 2>&1");
}

tvd::Database small_profile() {
    tvd::Database db;
    db.add(tvd::array(0)).add(tvd::profile_header(1, 0, 0)).add(tvd::ipr_standard({.dn = 1}));
    return db;
}

} // namespace

TEST_F(WriterTest, ToolReportsEachFileInOrderAndFailsWhenOneFails) {
    for (const char *name : {"a.tvd", "b.tvd", "c.i2d"})
        ASSERT_TRUE(small_profile().write(path(name)));
    const ToolRun run = run_tool("--jobs 3 " + path("a.tvd") + " " + path("missing.tvd") + " " +
                                 path("c.i2d") + " " + path("b.tvd"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, path("a.tvd") + ": converted -> " + path("a.i2d") + "\n" +
                              path("missing.tvd") + ": FAILED: cannot read it, or cannot write " +
                              path("missing.i2d") + "\n" + path("c.i2d") +
                              ": FAILED: its pseudo-section file would overwrite it\n" +
                              path("b.tvd") + ": converted -> " + path("b.i2d") + "\n");
    EXPECT_EQ(read(path("a.i2d")), read(path("b.i2d")));
    EXPECT_FALSE(read(path("a.i2d")).empty());

    EXPECT_EQ(run_tool("--jobs=2 " + path("a.tvd") + " " + path("b.tvd")).status, 0);
    EXPECT_EQ(run_tool("").status, 2);
    EXPECT_EQ(run_tool("--jobs 0 " + path("a.tvd")).status, 2);
    EXPECT_EQ(run_tool("--frobnicate " + path("a.tvd")).status, 2);
}
