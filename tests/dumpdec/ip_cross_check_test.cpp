// The decoder and the pseudo-section writer library on the same generated VIREL databases: the
// pseudo-section the decoder writes from the raw database and the one the library writes from
// the converted database differ only in the header block's SPACING and LEFT ELECTRODE values
// (right- against left-justified) and in its DATE (month and day padded with a space against a
// zero).
#include "convert.h"
#include "samples.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using ravelin::sample::VirelShape;

using WriterEntry = int (*)(const char *, void *);

std::string read_file(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The decoder's header-block line as the library writes it.
std::string as_library_writes(const std::string &line) {
    for (std::string_view label : {"/ SPACING:       \t", "/ LEFT ELECTRODE:\t"}) {
        if (!line.starts_with(label)) continue;
        std::string value = line.substr(label.size());
        value.erase(0, value.find_first_not_of(' '));
        if (value.size() < 8) value.resize(8, ' ');
        return std::string(label) + value;
    }
    constexpr std::string_view date = "/ DATE:          \t";
    if (line.starts_with(date) && line.size() == date.size() + 10) {
        std::string zero_padded = line;
        for (std::size_t at : {date.size() + 5, date.size() + 8})
            if (zero_padded[at] == ' ') zero_padded[at] = '0';
        return zero_padded;
    }
    return line;
}

std::string expected_library_output(const std::string &decoder_output) {
    std::string expected;
    std::size_t start = 0;
    while (start < decoder_output.size()) {
        std::size_t end = decoder_output.find("\r\n", start);
        if (end == std::string::npos) end = decoder_output.size();
        expected += as_library_writes(decoder_output.substr(start, end - start));
        if (end < decoder_output.size()) expected += "\r\n";
        start = end + 2;
    }
    return expected;
}

struct Database {
    const char *name;
    VirelShape shape;
    friend void PrintTo(const Database &d, std::ostream *out) { *out << d.name; }
};

class IpCrossCheck : public ::testing::TestWithParam<Database> {
  protected:
    void SetUp() override {
#ifndef RAVELIN_I2DWRITER_PATH
        GTEST_SKIP() << "the pseudo-section writer library is not part of this build";
#else
        library_ = dlopen(RAVELIN_I2DWRITER_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        entry_ = reinterpret_cast<WriterEntry>(dlsym(library_, "i2dwriter_main"));
        ASSERT_NE(entry_, nullptr);
        std::string pattern = (fs::temp_directory_path() / "ip-cross-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
#endif
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
        if (library_) dlclose(library_);
    }

    void *library_ = nullptr;
    WriterEntry entry_ = nullptr;
    fs::path dir_;
};

TEST_P(IpCrossCheck, PseudoSectionsDifferOnlyInHeaderJustificationAndDatePadding) {
    const VirelShape &shape = GetParam().shape;
    const auto raw = ravelin::sample::build_virel(shape);
    const fs::path raw_path = dir_ / "survey.raw";
    {
        std::ofstream out(raw_path, std::ios::binary);
        out.write(reinterpret_cast<const char *>(raw.data()),
                  static_cast<std::streamsize>(raw.size()));
    }
    const std::int16_t keep = 1;
    ASSERT_EQ(dumpdec::convert(raw_path.string(), &keep).result, 1);
    const std::string from_decoder = read_file(dir_ / "survey.i2d");
    fs::remove(dir_ / "survey.i2d");

    ASSERT_EQ(entry_((dir_ / "survey.tvd").c_str(), nullptr), 1);
    const std::string from_library = read_file(dir_ / "survey.i2d");

    const auto profiles = static_cast<std::size_t>(shape.surveys) *
                          static_cast<std::size_t>(shape.profiles_per_survey);
    std::size_t blocks = 0;
    for (std::size_t at = 0; (at = from_decoder.find("\r\nLINE\t", at)) != std::string::npos; ++at)
        ++blocks;
    ASSERT_EQ(blocks, profiles);
    EXPECT_NE(from_library, from_decoder); // the justification differs in every block
    EXPECT_EQ(from_library, expected_library_output(from_decoder));
}

Database database(const char *name, std::uint16_t mode, std::vector<std::uint16_t> arrays,
                  int surveys = 1, int window_count = 6) {
    VirelShape s;
    s.operating_mode = mode;
    s.arrays = std::move(arrays);
    s.surveys = surveys;
    s.profiles_per_survey = static_cast<int>(s.arrays.size());
    s.window_count = window_count;
    return {name, s};
}

const std::vector<std::uint16_t> kEveryArray{0x00, 0x08, 0x0C, 0x10, 0x11, 0x20, 0x2C, 0x40, 0x91};

INSTANTIATE_TEST_SUITE_P(GeneratedDatabases, IpCrossCheck,
                         ::testing::Values(Database{"Sample", VirelShape{}},
                                           database("EveryArrayWithMChannels", 0, kEveryArray),
                                           database("EveryArrayWithoutMChannels", 1, kEveryArray),
                                           database("TwelveSurveys", 0, {0x11, 0x40}, 12),
                                           database("FewerChannelsThanColumns", 0, {0x00, 0x0C}, 2,
                                                    2),
                                           database("NoChannels", 3, {0x10, 0x08}, 3, 0)),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
