// Runs a shell command and captures its standard output and exit status, as a script would see
// them; for the tests of the command-line tools.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace ravelin::test {

struct CommandOutput {
    int status = -1; // -1: it could not be started or did not exit
    std::string output;
};

inline CommandOutput runCommand(const std::string &command) {
    CommandOutput result;
    std::FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        result.output.append(chunk, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace ravelin::test
