// The shared library as the program binds it: by name, one C symbol.
#include "raw_records.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace ravelin::test {
namespace {

using Entry = int (*)(const char *, std::int16_t *);

class Library : public ::testing::Test {
  protected:
    void SetUp() override {
        handle_ = dlopen(DUMPDEC_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle_) dlclose(handle_);
    }
    void *handle_ = nullptr;
};

TEST_F(Library, ExportsOnlyTheEntry) {
    EXPECT_NE(dlsym(handle_, "dumpdec_main"), nullptr);
    EXPECT_EQ(dlsym(handle_, "_ZN7dumpdec7convertESt17basic_string_viewIcSt11char_traitsIcEEPKs"),
              nullptr);
    EXPECT_EQ(dlsym(handle_, "_ZN7dumpdec14DatabaseWriter5writeERKNS_6RecordE"), nullptr);
}

TEST_F(Library, EntryConvertsAndHonoursTheKeepFlag) {
    const auto entry = reinterpret_cast<Entry>(dlsym(handle_, "dumpdec_main"));
    ASSERT_NE(entry, nullptr);
    const auto dir = std::filesystem::temp_directory_path() / "dumpdec-export-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    RawBuilder raw;
    add(raw, FileHeader{});
    raw.end_marker();
    raw.save((dir / "e.raw").string());

    std::int16_t keep = 0;
    EXPECT_EQ(entry((dir / "e.raw").c_str(), &keep), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "e.tvd"));
    EXPECT_FALSE(std::filesystem::exists(dir / "e.log"));
    EXPECT_FALSE(std::filesystem::exists(dir / "e.raw"));

    raw.save((dir / "n.raw").string());
    EXPECT_EQ(entry((dir / "n.raw").c_str(), nullptr), 1); // no flag: keep everything
    EXPECT_TRUE(std::filesystem::exists(dir / "n.raw"));
    EXPECT_TRUE(std::filesystem::exists(dir / "n.log"));
    EXPECT_EQ(entry(nullptr, &keep), 0);
    EXPECT_EQ(entry((dir / "none.raw").c_str(), &keep), 0);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace ravelin::test
