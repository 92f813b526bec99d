// Runs a tool in a temporary folder and captures its standard output and exit status.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ravelin::test {

struct ToolRun {
    int status = -1;
    std::string output;
};

class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tools-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Runs "cd DIR && PROGRAM ARGS" (arguments are simple words here, no quoting needed).
    ToolRun run(const std::string &program, const std::string &arguments) const {
        const std::string command =
            "cd '" + dir_.string() + "' && '" + program + "' " + arguments + " 2>/dev/null";
        ToolRun result;
        std::FILE *pipe = popen(command.c_str(), "r");
        if (!pipe) return result;
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            result.output.append(buffer, n);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir_ / name); }
    void write(const std::string &name, const std::vector<std::uint8_t> &bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir_;
};

} // namespace ravelin::test
