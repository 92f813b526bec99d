// Where the dump length lives in the first packet, and the descriptor's wire layout.
#include "dump_length.h"
#include "libusb_backend.h"
#include "pipe_name.h"

#include <gtest/gtest.h>
#include <libusb.h>

#include <vector>

using namespace usbbulk;

TEST(DumpLength, LittleEndianCountAtTheStartOfThePacket) {
    std::vector<uint8_t> packet(64, 0xEE); // the rest of the packet must not matter
    const std::vector<std::pair<std::vector<uint8_t>, int32_t>> cases = {
        {{0x10, 0x27, 0x00, 0x00}, 10000},
        {{0x00, 0x2D, 0x31, 0x01}, 20000000},
        {{0xFB, 0xFF, 0xFF, 0xFF}, -5},
        {{0x00, 0x00, 0x00, 0x00}, 0},
    };
    for (const auto &[bytes, expected] : cases) {
        std::copy(bytes.begin(), bytes.end(), packet.begin());
        EXPECT_EQ(decodeDumpLength(packet.data()), expected);
        std::vector<uint8_t> encoded(4);
        encodeDumpLength(expected, encoded.data());
        EXPECT_EQ(encoded, bytes);
    }
}

TEST(PipeName, EndpointNumbers) {
    EXPECT_EQ(parsePipeName("PIPE2"), 2);
    EXPECT_EQ(parsePipeName("PIPE3"), 3);
    EXPECT_EQ(parsePipeName("PIPE15"), 15);
    EXPECT_EQ(parsePipeName("PIPE1"), 1);
    for (const char *bad : {"PIPE0", "PIPE16", "PIPE123", "PIPE-3", "PIPE 3", "PIPES"})
        EXPECT_FALSE(parsePipeName(bad)) << bad;
}

TEST(DeviceDescriptor, WireLayoutWithLittleEndianIds) {
    libusb_device_descriptor d{};
    d.bLength = 18;
    d.bDescriptorType = 1;
    d.bcdUSB = 0x0200;
    d.bDeviceClass = 0xFF;
    d.bMaxPacketSize0 = 64;
    d.idVendor = 0x0815;
    d.idProduct = 0x0DDE;
    d.bcdDevice = 0x0102;
    d.iManufacturer = 1;
    d.iProduct = 2;
    d.iSerialNumber = 3;
    d.bNumConfigurations = 1;
    uint8_t bytes[18] = {};
    descriptorToBytes(d, bytes);
    const std::vector<uint8_t> expected = {18,   1,    0x00, 0x02, 0xFF, 0, 0, 64, 0x15,
                                           0x08, 0xDE, 0x0D, 0x02, 0x01, 1, 2, 3,  1};
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 18), expected);
}
