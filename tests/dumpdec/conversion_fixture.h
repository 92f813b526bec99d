// Runs conversions of built raw databases in a private temporary folder and reads back what
// they wrote.
#pragma once

#include "convert.h"
#include "raw_builder.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ravelin::test {

class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = make_temp_folder("dumpdec"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

  public:
    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir_ / name); }
    std::string read(const std::string &name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::uint8_t> read_bytes(const std::string &name) const {
        const std::string s = read(name);
        return {s.begin(), s.end()};
    }
    void write(const std::string &name, const std::vector<std::uint8_t> &bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    // Writes the database as a.raw and converts it.
    dumpdec::ConversionReport convert(RawBuilder &raw, std::int16_t keep = 1,
                                      const std::string &name = "a.raw") {
        write(name, raw.bytes());
        return dumpdec::convert(path(name), &keep);
    }
    // Everything the listing holds after its record headings up to the final index.
    std::string first_pass_listing() const {
        const std::string log = read("a.log");
        return log.substr(0, log.find("\n\n\n==>FINAL FILE INDEX<==\n\n\n"));
    }
    std::string final_index() const { return final_index_of("a.log"); }
    std::string final_index_of(const std::string &listing) const {
        const std::string log = read(listing);
        const std::string banner = "\n\n\n==>FINAL FILE INDEX<==\n\n\n";
        const std::size_t at = log.find(banner);
        return at == std::string::npos ? std::string() : log.substr(at + banner.size());
    }

    std::filesystem::path dir_;
};

// Whether text holds part; on failure shows both, control characters escaped.
inline ::testing::AssertionResult Contains(const std::string &text, const std::string &part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    auto escape = [](const std::string &s) {
        std::string out;
        for (char c : s) {
            if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else if (c == '\t')
                out += "\\t";
            else
                out += c;
        }
        return out;
    };
    return ::testing::AssertionFailure()
           << "\n  looked for: " << escape(part) << "\n  in:         " << escape(text);
}

// Little-endian field of a converted database.
inline std::uint32_t le32(const std::vector<std::uint8_t> &bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8 |
                                      bytes.at(at + 2) << 16 |
                                      static_cast<std::uint32_t>(bytes.at(at + 3)) << 24);
}
inline std::uint16_t le16(const std::vector<std::uint8_t> &bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

} // namespace ravelin::test
