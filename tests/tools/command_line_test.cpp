// The hand-written command line of the tools without Qt: the forms QCommandLineParser accepts,
// and the mistakes it refuses with the tool's usage status.
#include "command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using ravelin::CommandLine;

CommandLine toolLine() {
    CommandLine line("tool", "Does things.", 7);
    line.addOption("keep", "", "A switch.");
    line.addOption("jobs", "N", "A value.");
    return line;
}

std::optional<int> parse(CommandLine &line, std::initializer_list<const char *> args) {
    std::vector<char *> argv{const_cast<char *>("tool")};
    for (const char *arg : args)
        argv.push_back(const_cast<char *>(arg));
    return line.parse(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, ValuesSwitchesAndArgumentsInAnyOrder) {
    CommandLine line = toolLine();
    EXPECT_EQ(parse(line, {"a", "--jobs", "3", "--keep", "b", "--jobs=4", "-", "--", "--keep"}),
              std::nullopt);
    EXPECT_TRUE(line.isSet("keep"));
    EXPECT_EQ(line.value("jobs"), "4"); // the last one given
    EXPECT_EQ(line.arguments(), (std::vector<std::string>{"a", "b", "-", "--keep"}));
    EXPECT_EQ(parse(line, {"--jobs", "-1"}), std::nullopt); // a value may begin with "-"
    EXPECT_EQ(line.value("jobs"), "-1");
    EXPECT_FALSE(line.isSet("keep"));
}

TEST(CommandLine, MistakesEndWithTheUsageStatus) {
    for (auto args : {std::initializer_list<const char *>{"--frobnicate"},
                      {"-k"},
                      {"--jobs"},
                      {"--keep=1"},
                      {"--kee"}}) {
        CommandLine line = toolLine();
        testing::internal::CaptureStderr();
        EXPECT_EQ(parse(line, args), 7) << *args.begin();
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Try 'tool --help'"),
                  std::string::npos);
    }
}

TEST(CommandLine, HelpListsEveryOptionUnderItsSection) {
    CommandLine line = toolLine();
    line.addSection("Faults");
    line.addOption("silence-ms", "MS", "Pause.");
    line.addArgument("FILE", "The file.");
    EXPECT_EQ(line.helpText(), "Usage: tool [options] FILE\n"
                               "Does things.\n\n"
                               "Options:\n"
                               "  -h, --help         Displays help on commandline options.\n"
                               "  -v, --version      Displays version information.\n"
                               "  --keep             A switch.\n"
                               "  --jobs <N>         A value.\n\n"
                               "Faults:\n"
                               "  --silence-ms <MS>  Pause.\n\n"
                               "Arguments:\n"
                               "  FILE               The file.\n");
}

} // namespace
