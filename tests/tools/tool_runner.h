// Runs a tool in a temporary folder and captures its standard output and exit status.
#pragma once

#include "command_output.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ravelin::test {

using ToolRun = CommandOutput;

class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = make_temp_folder("tools"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Runs "cd DIR && PROGRAM ARGS" (arguments are simple words here, no quoting needed).
    ToolRun run(const std::string &program, const std::string &arguments) const {
        return runCommand("cd '" + dir_.string() + "' && '" + program + "' " + arguments +
                          " 2>/dev/null");
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
