// The command line of the tools that do not link Qt, read by the rules QCommandLineParser follows
// in those that do: "--name VALUE" or "--name=VALUE", options and arguments in any order, "--"
// ends the options, -h/--help prints the usage on standard output and -v/--version the version,
// both with exit status 0. A mistake is reported on standard error with the tool's usage status.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

class CommandLine {
  public:
    // usageStatus: the exit status of a mistake on the command line.
    CommandLine(std::string program, std::string description, int usageStatus);

    // An option "--name"; with a valueName it takes a value, otherwise it is a switch.
    void addOption(std::string name, std::string valueName, std::string description);
    // Lists the options added after it under this heading in the help.
    void addSection(std::string heading);
    // A positional argument, for the usage line and the help.
    void addArgument(std::string name, std::string description);

    // Reads argv. Returns an exit status when the tool ends at once: 0 after --help or
    // --version, the usage status after a mistake; nothing when the tool goes on.
    std::optional<int> parse(int argc, char **argv);

    bool isSet(std::string_view name) const;
    // The last value given to the option; empty when it is not set.
    std::string value(std::string_view name) const;
    // The option's value as a finite decimal number; nothing when it is not one (or not set).
    std::optional<double> number(std::string_view name) const;
    const std::vector<std::string> &arguments() const { return arguments_; }

    // Reports a mistake found after parsing on standard error; returns the usage status.
    int fail(const std::string &message) const;
    std::string helpText() const;

  private:
    struct Option {
        std::string name;
        std::string valueName;
        std::string description;
        std::string section;
    };
    const Option *find(std::string_view name) const;

    std::string program_;
    std::string description_;
    int usageStatus_;
    std::string section_;
    std::vector<Option> options_;
    std::vector<std::pair<std::string, std::string>> argumentHelp_;
    std::vector<std::pair<std::string, std::string>> values_; // option name, value ("" switch)
    std::vector<std::string> arguments_;
};

} // namespace ravelin
