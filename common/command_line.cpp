#include "command_line.h"

#include "portable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ravelin {

namespace {

constexpr std::string_view kHelpText = "Displays help on commandline options.";
constexpr std::string_view kVersionText = "Displays version information.";

void print(std::FILE *stream, const std::string &text) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

} // namespace

CommandLine::CommandLine(std::string program, std::string description, int usageStatus)
    : program_(std::move(program)), description_(std::move(description)),
      usageStatus_(usageStatus) {}

void CommandLine::addOption(std::string name, std::string valueName, std::string description) {
    options_.push_back({std::move(name), std::move(valueName), std::move(description), section_});
}

void CommandLine::addSection(std::string heading) {
    section_ = std::move(heading);
}

void CommandLine::addArgument(std::string name, std::string description) {
    argumentHelp_.emplace_back(std::move(name), std::move(description));
}

const CommandLine::Option *CommandLine::find(std::string_view name) const {
    for (const Option &option : options_)
        if (option.name == name) return &option;
    return nullptr;
}

std::optional<int> CommandLine::parse(int argc, char **argv) {
    values_.clear();
    arguments_.clear();
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            arguments_.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            print(stdout, helpText());
            return 0;
        }
        if (arg == "-v" || arg == "--version") {
            print(stdout, program_ + " " RAVELIN_VERSION "\n");
            return 0;
        }
        const std::string_view body = arg.substr(arg.starts_with("--") ? 2 : 1);
        const std::size_t equals = body.find('=');
        const Option *option = arg.starts_with("--") ? find(body.substr(0, equals)) : nullptr;
        if (!option) return fail("unknown option '" + std::string(arg) + "'");
        if (option->valueName.empty()) {
            if (equals != std::string_view::npos)
                return fail("option '--" + option->name + "' takes no value");
            values_.emplace_back(option->name, "");
        } else if (equals != std::string_view::npos) {
            values_.emplace_back(option->name, body.substr(equals + 1));
        } else if (i + 1 < argc) {
            values_.emplace_back(option->name, argv[++i]);
        } else {
            return fail("missing value after '--" + option->name + "'");
        }
    }
    return std::nullopt;
}

bool CommandLine::isSet(std::string_view name) const {
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto &entry) { return entry.first == name; });
}

std::string CommandLine::value(std::string_view name) const {
    for (auto entry = values_.rbegin(); entry != values_.rend(); ++entry)
        if (entry->first == name) return entry->second;
    return {};
}

std::optional<double> CommandLine::number(std::string_view name) const {
    const std::string text = value(name);
    const std::optional<double> result = portable::parse_double(text);
    if (!result || !std::isfinite(*result)) return std::nullopt;
    return result;
}

int CommandLine::fail(const std::string &message) const {
    print(stderr,
          program_ + ": " + message + "\nTry '" + program_ + " --help' for more information.\n");
    return usageStatus_;
}

std::string CommandLine::helpText() const {
    auto optionName = [](const Option &o) {
        return "--" + o.name + (o.valueName.empty() ? "" : " <" + o.valueName + ">");
    };
    std::size_t width = std::string_view("-v, --version").size();
    for (const Option &option : options_)
        width = std::max(width, optionName(option).size());
    for (const auto &argument : argumentHelp_)
        width = std::max(width, argument.first.size());
    auto line = [&](std::string_view name, std::string_view description) {
        std::string text = "  " + std::string(name);
        text.append(width + 2 - name.size(), ' ');
        return text + std::string(description) + "\n";
    };

    std::string text = "Usage: " + program_ + " [options]";
    for (const auto &argument : argumentHelp_)
        text += " " + argument.first;
    text += "\n" + description_ + "\n\nOptions:\n";
    text += line("-h, --help", kHelpText);
    text += line("-v, --version", kVersionText);
    std::string section;
    for (const Option &option : options_) {
        if (option.section != section) {
            section = option.section;
            text += "\n" + section + ":\n";
        }
        text += line(optionName(option), option.description);
    }
    if (!argumentHelp_.empty()) {
        text += "\nArguments:\n";
        for (const auto &argument : argumentHelp_)
            text += line(argument.first, argument.second);
    }
    return text;
}

} // namespace ravelin
