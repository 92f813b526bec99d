// A temporary folder per test and a helper that runs the writer on a built database.
#pragma once

#include "i2dwriter.h"
#include "temp_folder.h"
#include "tvd_builder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

class WriterTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = ravelin::test::make_temp_folder("i2dwriter"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    static std::string read(const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Writes db as survey.tvd, runs the writer and returns the pseudo-section file.
    std::string convert(const tvd::Database &db, int expected_result = 1) {
        const std::string input = path("survey.tvd");
        EXPECT_TRUE(db.write(input));
        EXPECT_EQ(i2dwriter_main(input.c_str(), nullptr), expected_result);
        return read(path("survey.i2d"));
    }

    std::filesystem::path dir_;
};
