// The fake USB instrument the transfer tests rely on: its dump stream, upload sink, faults and
// environment configuration.
#include "fake_usbbulk.h"
#include "usbbulk.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

class FakeUsbbulk : public testing::Test {
  protected:
    void SetUp() override {
        library = dlopen(FAKE_USBBULK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        reset = bind<decltype(fake_usbbulk_reset)>("fake_usbbulk_reset");
        set = bind<decltype(fake_usbbulk_set)>("fake_usbbulk_set");
        setImage = bind<decltype(fake_usbbulk_set_image)>("fake_usbbulk_set_image");
        count = bind<decltype(fake_usbbulk_count)>("fake_usbbulk_count");
        packetCount =
            bind<decltype(fake_usbbulk_written_packet_count)>("fake_usbbulk_written_packet_count");
        packet = bind<decltype(fake_usbbulk_written_packet)>("fake_usbbulk_written_packet");
        getDescriptor = bind<decltype(dll_getDeviceDescriptor)>("dll_getDeviceDescriptor");
        openPipe = bind<decltype(dll_openUsbPipe)>("dll_openUsbPipe");
        readPipe = bind<decltype(dll_readPipe)>("dll_readPipe");
        writePipe = bind<decltype(dll_writePipe)>("dll_writePipe");
        closePipe = bind<decltype(dll_closeUsbPipe)>("dll_closeUsbPipe");
        getLong = bind<decltype(dll_Get_Long)>("dll_Get_Long");
        reset();
    }
    void TearDown() override { dlclose(library); }
    template <typename F> F *bind(const char *name) {
        return reinterpret_cast<F *>(dlsym(library, name));
    }
    // Reads the dump the way the program does, returning every packet delivered.
    std::vector<std::vector<uint8_t>> readDump(int maxPackets = 1000) {
        std::vector<std::vector<uint8_t>> packets;
        const int16_t pipe = openPipe("PIPE3");
        EXPECT_GE(pipe, 0);
        uint8_t buffer[64];
        int32_t delivered = 64;
        while (delivered == 64 && int(packets.size()) < maxPackets) {
            if (!readPipe(pipe, buffer, 64, &delivered)) break;
            packets.emplace_back(buffer, buffer + delivered);
        }
        closePipe(pipe);
        return packets;
    }

    void *library = nullptr;
    decltype(fake_usbbulk_reset) *reset;
    decltype(fake_usbbulk_set) *set;
    decltype(fake_usbbulk_set_image) *setImage;
    decltype(fake_usbbulk_count) *count;
    decltype(fake_usbbulk_written_packet_count) *packetCount;
    decltype(fake_usbbulk_written_packet) *packet;
    decltype(dll_getDeviceDescriptor) *getDescriptor;
    decltype(dll_openUsbPipe) *openPipe;
    decltype(dll_readPipe) *readPipe;
    decltype(dll_writePipe) *writePipe;
    decltype(dll_closeUsbPipe) *closePipe;
    decltype(dll_Get_Long) *getLong;
};

std::vector<uint8_t> patternImage(size_t size) {
    std::vector<uint8_t> image(size);
    for (size_t i = 0; i < size; ++i)
        image[i] = uint8_t(i * 7 + i / 256);
    return image;
}

TEST_F(FakeUsbbulk, DescriptorCarriesVendorAndProductLittleEndian) {
    set(FAKE_USBBULK_PRODUCT, 0x0DDE);
    uint8_t d[18] = {};
    ASSERT_EQ(getDescriptor(d), 1);
    EXPECT_EQ(d[0], 18);
    EXPECT_EQ(d[8] | d[9] << 8, 0x0815);
    EXPECT_EQ(d[10] | d[11] << 8, 0x0DDE);

    set(FAKE_USBBULK_DESCRIPTOR_FAILURES, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(getDescriptor(d), 0);
    EXPECT_EQ(getDescriptor(d), 1) << "the eleventh attempt";
    EXPECT_EQ(count(FAKE_USBBULK_DESCRIPTOR_CALLS), 12);

    set(FAKE_USBBULK_ATTACHED, 0);
    EXPECT_EQ(getDescriptor(d), 0);
    EXPECT_EQ(openPipe("PIPE3"), -1);
}

TEST_F(FakeUsbbulk, DumpStreamIsLengthPacketThenImageThenShortPacket) {
    const std::vector<uint8_t> image = patternImage(64 * 3 + 10);
    setImage(image.data(), int64_t(image.size()));
    const auto packets = readDump();
    ASSERT_EQ(packets.size(), 5u);
    EXPECT_EQ(getLong(packets[0].data()), int32_t(image.size()));
    std::vector<uint8_t> received;
    for (size_t i = 1; i < packets.size(); ++i)
        received.insert(received.end(), packets[i].begin(), packets[i].end());
    EXPECT_EQ(received, image);
    EXPECT_EQ(packets.back().size(), 10u);
    EXPECT_EQ(count(FAKE_USBBULK_OPEN_PIPES), 0);
}

TEST_F(FakeUsbbulk, WholePacketImageEndsWithAnEmptyReadAndADumpCanBeRepeated) {
    const std::vector<uint8_t> image = patternImage(128);
    setImage(image.data(), int64_t(image.size()));
    for (int dump = 0; dump < 2; ++dump) {
        const auto packets = readDump();
        ASSERT_EQ(packets.size(), 4u);
        EXPECT_TRUE(packets.back().empty());
    }
}

TEST_F(FakeUsbbulk, DumpFaults) {
    const std::vector<uint8_t> image = patternImage(640);
    setImage(image.data(), int64_t(image.size()));

    set(FAKE_USBBULK_ANNOUNCED_LENGTH, -5);
    EXPECT_EQ(getLong(readDump()[0].data()), -5);

    set(FAKE_USBBULK_FIRST_READ_LENGTH, 20);
    EXPECT_EQ(readDump().size(), 1u);
    set(FAKE_USBBULK_FIRST_READ_LENGTH, 64);

    set(FAKE_USBBULK_READ_FAILS_AFTER, 3);
    EXPECT_EQ(readDump().size(), 3u);
    set(FAKE_USBBULK_READ_FAILS_AFTER, -1);

    const int16_t pipe = openPipe("PIPE3");
    uint8_t buffer[64];
    int32_t delivered = 1;
    EXPECT_EQ(readPipe(pipe, buffer, 32, &delivered), 0) << "smaller than a packet";
    closePipe(pipe);

    set(FAKE_USBBULK_OPEN_FAILS, 1);
    EXPECT_EQ(openPipe("PIPE3"), -1);
    set(FAKE_USBBULK_OPEN_FAILS, 0);
    EXPECT_EQ(openPipe("PIPE4"), -1);
    EXPECT_EQ(set(42, 1), -1);
}

TEST_F(FakeUsbbulk, UploadSinkRecordsEveryPacketOnPipe2Only) {
    const int16_t pipe = openPipe("PIPE2");
    uint8_t line[48] = {'L', 'I', 'N', 'E'};
    int32_t written = 0;
    ASSERT_EQ(writePipe(pipe, line, 48, &written), 1);
    EXPECT_EQ(written, 48);
    line[0] = 'M';
    ASSERT_EQ(writePipe(pipe, line, 48, &written), 1);
    ASSERT_EQ(packetCount(), 2);
    uint8_t copy[64] = {};
    EXPECT_EQ(packet(1, copy, sizeof copy), 48);
    EXPECT_EQ(copy[0], 'M');
    EXPECT_EQ(packet(2, copy, sizeof copy), -1);

    set(FAKE_USBBULK_WRITE_FAILS_AFTER, 2);
    EXPECT_EQ(writePipe(pipe, line, 48, &written), 0);
    uint8_t buffer[64];
    EXPECT_EQ(readPipe(pipe, buffer, 64, &written), 0) << "the upload pipe is write only";
    closePipe(pipe);

    const int16_t dump = openPipe("PIPE3");
    EXPECT_EQ(writePipe(dump, line, 48, &written), 0) << "the dump pipe is read only";
    closePipe(dump);
}

TEST_F(FakeUsbbulk, ChildProcessesConfigureItThroughTheEnvironment) {
    const auto folder = std::filesystem::temp_directory_path() / "fake_usbbulk_env_test";
    std::filesystem::create_directories(folder);
    const auto imagePath = folder / "image.bin";
    const auto sinkPath = folder / "sink.bin";
    std::filesystem::remove(sinkPath);
    const std::vector<uint8_t> image = patternImage(100);
    std::ofstream(imagePath, std::ios::binary)
        .write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
    setenv("FAKE_USBBULK_IMAGE", imagePath.c_str(), 1);
    setenv("FAKE_USBBULK_UPLOAD_SINK", sinkPath.c_str(), 1);
    setenv("FAKE_USBBULK_PRODUCT", "0x0DDE", 1);
    reset();
    unsetenv("FAKE_USBBULK_IMAGE");
    unsetenv("FAKE_USBBULK_UPLOAD_SINK");
    unsetenv("FAKE_USBBULK_PRODUCT");

    uint8_t d[18] = {};
    ASSERT_EQ(getDescriptor(d), 1);
    EXPECT_EQ(d[10] | d[11] << 8, 0x0DDE);
    EXPECT_EQ(getLong(readDump()[0].data()), 100);

    const int16_t pipe = openPipe("PIPE2");
    const uint8_t line[48] = {'O', 'S'};
    int32_t written = 0;
    writePipe(pipe, line, 48, &written);
    writePipe(pipe, line, 48, &written);
    closePipe(pipe);
    std::ifstream sink(sinkPath, std::ios::binary);
    const std::vector<char> sunk{std::istreambuf_iterator<char>(sink),
                                 std::istreambuf_iterator<char>()};
    EXPECT_EQ(sunk.size(), 96u);
    std::filesystem::remove_all(folder);
}

} // namespace
