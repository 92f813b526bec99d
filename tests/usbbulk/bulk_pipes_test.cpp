// The pipe bookkeeping over a scripted backend: handles, device lifetime, transfer outcomes.
#include "bulk_pipes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

using namespace usbbulk;

namespace {

class ScriptedBackend : public UsbBackend {
  public:
    bool attached = true;
    bool openFails = false;
    bool noAccess = false;
    std::set<uint8_t> endpoints{0x83, 0x02}; // the instrument's dump and upload pipes
    int opens = 0;
    int closes = 0;
    bool open = false;
    uint16_t vendorAsked = 0;
    TransferResult nextResult{TransferResult::Status::Ok, 0};
    std::vector<uint8_t> nextData;
    uint8_t lastAddress = 0;
    unsigned lastTimeout = 0;
    std::vector<uint8_t> lastWritten;

    bool findDevice(uint16_t vendor, uint8_t *descriptor) override {
        vendorAsked = vendor;
        if (!attached) return false;
        for (int i = 0; i < kDescriptorSize; ++i)
            descriptor[i] = uint8_t(i + 1);
        return true;
    }
    OpenResult openDevice(uint16_t vendor) override {
        vendorAsked = vendor;
        ++opens;
        open = attached && !openFails && !noAccess;
        if (noAccess) return OpenResult::NoAccess;
        return open ? OpenResult::Opened : OpenResult::Failed;
    }
    void closeDevice() override {
        ++closes;
        open = false;
    }
    bool hasBulkEndpoint(uint8_t address) override { return open && endpoints.count(address); }
    TransferResult bulkTransfer(uint8_t address, uint8_t *data, int length,
                                unsigned timeoutMs) override {
        lastAddress = address;
        lastTimeout = timeoutMs;
        if (address & kEndpointIn)
            std::copy_n(nextData.begin(), std::min<size_t>(nextData.size(), size_t(length)), data);
        else
            lastWritten.assign(data, data + length);
        return nextResult;
    }
};

class BulkPipesTest : public testing::Test {
  protected:
    ScriptedBackend backend;
    BulkPipes pipes{backend};
};

TEST_F(BulkPipesTest, DescriptorOfTheInstrumentVendorOrNothing) {
    uint8_t descriptor[kDescriptorSize] = {};
    EXPECT_EQ(pipes.getDeviceDescriptor(descriptor), 1);
    EXPECT_EQ(backend.vendorAsked, 0x0815);
    EXPECT_EQ(descriptor[17], 18);
    EXPECT_EQ(pipes.getDeviceDescriptor(nullptr), 0);

    backend.attached = false;
    EXPECT_EQ(pipes.getDeviceDescriptor(descriptor), 0);
    EXPECT_EQ(pipes.openPipe("PIPE3"), -1);
    EXPECT_FALSE(backend.open);
}

TEST_F(BulkPipesTest, BadPipeNamesFailWithoutTouchingTheDevice) {
    for (const char *name : {"PIPE0", "PIPE16", "PIPE", "PIPE3x", "pipe3", "", " PIPE3"})
        EXPECT_EQ(pipes.openPipe(name), -1) << name;
    EXPECT_EQ(pipes.openPipe(nullptr), -1);
    EXPECT_EQ(backend.opens, 0);
}

TEST_F(BulkPipesTest, PipeWithoutSuchEndpointFailsAndLeavesTheDeviceClosed) {
    EXPECT_EQ(pipes.openPipe("PIPE5"), -1);
    EXPECT_EQ(backend.opens, 1);
    EXPECT_FALSE(backend.open);
}

TEST_F(BulkPipesTest, HandlesAreSmallReusedAndShareOneDeviceOpening) {
    const int16_t dump = pipes.openPipe("PIPE3");
    const int16_t upload = pipes.openPipe("PIPE2");
    EXPECT_EQ(dump, 0);
    EXPECT_EQ(upload, 1);
    EXPECT_EQ(backend.opens, 1);

    EXPECT_EQ(pipes.closePipe(dump), 1);
    EXPECT_TRUE(backend.open) << "another pipe still uses the device";
    EXPECT_EQ(pipes.closePipe(dump), 0) << "closed twice";
    EXPECT_EQ(pipes.openPipe("PIPE3"), 0) << "a freed handle is used again";
    EXPECT_EQ(pipes.closePipe(0), 1);
    EXPECT_EQ(pipes.closePipe(upload), 1);
    EXPECT_FALSE(backend.open);
    EXPECT_EQ(backend.closes, 1);

    for (int32_t bad : {-1, 99, 16})
        EXPECT_EQ(pipes.closePipe(bad), 0) << bad;
}

TEST_F(BulkPipesTest, TableFullAndDeviceThatWillNotOpen) {
    for (int i = 0; i < kMaxPipes; ++i)
        ASSERT_EQ(pipes.openPipe("PIPE3"), i);
    EXPECT_EQ(pipes.openPipe("PIPE3"), -1);
    for (int i = 0; i < kMaxPipes; ++i)
        pipes.closePipe(i);

    backend.openFails = true;
    EXPECT_EQ(pipes.openPipe("PIPE3"), -1);
}

TEST_F(BulkPipesTest, OpenFailureTellsARefusedDeviceFromOtherFailures) {
    EXPECT_EQ(pipes.openFailure(), USBBULK_OPEN_OK);
    backend.noAccess = true;
    EXPECT_EQ(pipes.openPipe("PIPE3"), -1);
    EXPECT_EQ(pipes.openFailure(), USBBULK_OPEN_NO_ACCESS);
    backend.noAccess = false;
    backend.openFails = true;
    EXPECT_EQ(pipes.openPipe("PIPE3"), -1);
    EXPECT_EQ(pipes.openFailure(), USBBULK_OPEN_FAILED);
    backend.openFails = false;
    EXPECT_EQ(pipes.openPipe("PIPE3"), 0);
    EXPECT_EQ(pipes.openFailure(), USBBULK_OPEN_OK);
    EXPECT_EQ(pipes.openPipe("PIPE9"), -1); // no such endpoint on an open device
    EXPECT_EQ(pipes.openFailure(), USBBULK_OPEN_FAILED);
}

TEST_F(BulkPipesTest, ReadUsesTheInEndpointWithATimeOut) {
    const int16_t handle = pipes.openPipe("PIPE3");
    backend.nextData.assign(64, 0xAB);
    backend.nextResult = {TransferResult::Status::Ok, 64};
    uint8_t buffer[64] = {};
    int32_t delivered = -1;
    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, &delivered), 1);
    EXPECT_EQ(delivered, 64);
    EXPECT_EQ(buffer[63], 0xAB);
    EXPECT_EQ(backend.lastAddress, 0x83);
    EXPECT_EQ(backend.lastTimeout, kReadTimeoutMs);
}

TEST_F(BulkPipesTest, ReadOutcomes) {
    const int16_t handle = pipes.openPipe("PIPE3");
    uint8_t buffer[64];
    int32_t delivered = -1;

    backend.nextResult = {TransferResult::Status::TimedOut, 10};
    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, &delivered), 1) << "bytes before the time-out";
    EXPECT_EQ(delivered, 10);
    EXPECT_EQ(pipes.readFailure(), USBBULK_READ_TIMED_OUT) << "not the instrument's short packet";

    backend.nextResult = {TransferResult::Status::TimedOut, 0};
    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, &delivered), 0) << "a silent instrument";
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(pipes.readFailure(), USBBULK_READ_TIMED_OUT);

    backend.nextResult = {TransferResult::Status::Failed, 0};
    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, &delivered), 0);
    EXPECT_EQ(pipes.readFailure(), USBBULK_READ_FAILED);
    backend.nextResult = {TransferResult::Status::Ok, 10};
    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, &delivered), 1);
    EXPECT_EQ(pipes.readFailure(), USBBULK_READ_OK) << "the instrument's own short packet";

    EXPECT_EQ(pipes.readPipe(handle, buffer, 64, nullptr), 0);
    EXPECT_EQ(pipes.readPipe(handle, nullptr, 64, &delivered), 0);
    EXPECT_EQ(pipes.readPipe(handle + 1, buffer, 64, &delivered), 0) << "not open";
}

TEST_F(BulkPipesTest, WriteUsesTheOutEndpointAndMustSendEverything) {
    const int16_t handle = pipes.openPipe("PIPE2");
    uint8_t packet[48];
    for (int i = 0; i < 48; ++i)
        packet[i] = uint8_t('A' + i % 26);
    int32_t written = -1;
    backend.nextResult = {TransferResult::Status::Ok, 48};
    EXPECT_EQ(pipes.writePipe(handle, packet, 48, &written), 1);
    EXPECT_EQ(written, 48);
    EXPECT_EQ(backend.lastAddress, 0x02);
    EXPECT_EQ(backend.lastTimeout, kWriteTimeoutMs);
    EXPECT_EQ(backend.lastWritten, std::vector<uint8_t>(packet, packet + 48));

    backend.nextResult = {TransferResult::Status::TimedOut, 16};
    EXPECT_EQ(pipes.writePipe(handle, packet, 48, &written), 0) << "part of a packet";
    EXPECT_EQ(written, 16);
}

TEST_F(BulkPipesTest, DirectionFollowsTheEndpointsPresent) {
    const int16_t dump = pipes.openPipe("PIPE3");   // IN only
    const int16_t upload = pipes.openPipe("PIPE2"); // OUT only
    uint8_t buffer[64] = {};
    int32_t count = 0;
    backend.nextResult = {TransferResult::Status::Ok, 48};
    EXPECT_EQ(pipes.writePipe(dump, buffer, 48, &count), 0);
    EXPECT_EQ(pipes.readPipe(upload, buffer, 64, &count), 0);
}

} // namespace
