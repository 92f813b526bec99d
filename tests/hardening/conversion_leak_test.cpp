// 200 conversions in one process, as a long session of the window program would run them: the
// decoder and the pseudo-section writer must give back every file descriptor and the memory
// they took, on the ordinary road and on the failing ones.
#include "dumpdec.h"
#include "i2dwriter.h"
#include "seeds.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using ravelin::fuzz::Bytes;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false; // freed memory sits in the sanitizer's quarantine
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

int open_descriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

long resident_kib() {
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void save(const fs::path &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

class ConversionLeakTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = ravelin::test::make_temp_folder("ravelin-leak");
        // Sound databases of every kind, and the same cut short and with a damaged length.
        for (const Bytes &sound : ravelin::fuzz::database_seeds(ravelin::test::ByteOrder::kBig)) {
            databases_.push_back(sound);
            if (sound.size() < 40) continue;
            databases_.emplace_back(sound.begin(), sound.begin() + long(sound.size() / 2));
            Bytes damaged = sound;
            damaged[2] = 0xFF; // the first record claims 65000 bytes and more
            databases_.push_back(damaged);
        }
    }
    void TearDown() override { fs::remove_all(dir_); }

    // One conversion as the window runs it, then the pseudo-section writer on its result.
    void convert(int index) {
        const Bytes &database = databases_[std::size_t(index) % databases_.size()];
        const fs::path raw = dir_ / ("db" + std::to_string(index % 7) + ".raw");
        save(raw, database);
        std::int16_t keep = std::int16_t(index % 2);
        ASSERT_EQ(dumpdec_main(raw.c_str(), &keep), 1) << raw;
        const fs::path tvd = fs::path(raw).replace_extension(".tvd");
        ASSERT_EQ(i2dwriter_main(tvd.c_str(), nullptr), 1) << tvd;
    }

    // Conversions that fail part way: a raw database that is missing, an output name taken by
    // a folder, a converted database that is missing.
    void fail_to_convert() {
        std::int16_t keep = 1;
        EXPECT_EQ(dumpdec_main((dir_ / "missing.raw").c_str(), &keep), 0);
        save(dir_ / "blocked.raw", databases_.front());
        fs::create_directories(dir_ / "blocked.txt");
        EXPECT_EQ(dumpdec_main((dir_ / "blocked.raw").c_str(), &keep), 0);
        fs::create_directories(dir_ / "late.tvd");
        save(dir_ / "late.raw", databases_.front());
        EXPECT_EQ(dumpdec_main((dir_ / "late.raw").c_str(), &keep), 0);
        EXPECT_EQ(i2dwriter_main((dir_ / "missing.tvd").c_str(), nullptr), 0);
        fs::create_directories(dir_ / "blocked2.i2d");
        save(dir_ / "blocked2.tvd", {});
        EXPECT_EQ(i2dwriter_main((dir_ / "blocked2.tvd").c_str(), nullptr), 0);
    }

    fs::path dir_;
    std::vector<Bytes> databases_;
};

TEST_F(ConversionLeakTest, TwoHundredConversionsGiveBackDescriptorsAndMemory) {
    // The first conversions size the allocator's pools and the stream buffers.
    for (int i = 0; i < 10; ++i)
        convert(i);
    const int descriptors = open_descriptors();
    const long resident = resident_kib();

    for (int i = 0; i < 200; ++i) {
        convert(i);
        if (HasFatalFailure()) return;
        if (i % 20 == 0) fail_to_convert();
    }

    std::printf("descriptors %d -> %d, resident %ld KiB -> %ld KiB\n", descriptors,
                open_descriptors(), resident, resident_kib());
    EXPECT_EQ(open_descriptors(), descriptors);
    if (kMemoryIsMeasurable) {
        // A record buffer or a stream lost per conversion would add a megabyte and more.
        EXPECT_LE(resident_kib() - resident, 512) << "resident memory grew";
    }
}

} // namespace
