// ravelin-instrument's dump side against a PC peer written here.
#include "instrument_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <pty.h>

using namespace instrument_test;

namespace {

std::vector<uint8_t> memoryImage(size_t size) {
    std::vector<uint8_t> image(size);
    for (size_t i = 0; i < size; ++i)
        image[i] = uint8_t((i * 31) ^ (i >> 8));
    return image;
}

// What the PC must end up with: the image, filled up with 0xFF to whole blocks.
std::vector<uint8_t> padded(std::vector<uint8_t> image) {
    image.resize((image.size() + 251) / 252 * 252, 0xFF);
    return image;
}

std::vector<uint8_t> lengthHeaderBytes(size_t length) {
    const std::string text =
        std::string(10 - std::to_string(length).size(), '0') + std::to_string(length);
    return {text.begin(), text.end()};
}

std::string imageFile(const std::vector<uint8_t> &image) {
    const std::string path = temporaryPath("image.bin");
    writeFile(path, image);
    return path;
}

TEST(InstrumentDump, HeaderThenCheckedBlocksOfTheWholeImage) {
    const std::vector<uint8_t> image = memoryImage(1000);
    Simulator simulator({"--time-limit", "20", "dump", imageFile(image)});
    ASSERT_FALSE(simulator.devicePath().empty());
    PcPort port(simulator.devicePath());
    const PcDump dump = receiveDump(port);
    EXPECT_EQ(dump.header, "0000001000");
    EXPECT_TRUE(dump.complete);
    EXPECT_EQ(dump.data, padded(image));
    EXPECT_TRUE(dump.rejectedBlocks.empty());
    port.close();
    EXPECT_EQ(simulator.waitForExit(), 0);
}

TEST(InstrumentDump, CorruptedBlocksAreSentAgainCleanOnRequest) {
    const std::vector<uint8_t> image = memoryImage(252 * 9);
    Simulator simulator({"--corrupt-every", "3", "dump", imageFile(image)});
    PcPort port(simulator.devicePath());
    const PcDump dump = receiveDump(port);
    EXPECT_EQ(dump.data, image);
    ASSERT_EQ(dump.rejectedBlocks.size(), 3u);
    // The second corruption keeps the sum right and spoils only the start byte.
    EXPECT_NE(dump.rejectedBlocks[1][0], 0x53);
    port.close();
    EXPECT_EQ(simulator.waitForExit(), 0);
}

TEST(InstrumentDump, SilenceStraysAndRandomCorruptionStillDeliverTheImage) {
    const std::vector<uint8_t> image = memoryImage(3000);
    // The peer drops a partial header or block after 300 ms of silence.
    Simulator simulator({"--silence-ms", "200", "--stray", "4142", "--corrupt-chance", "30",
                         "--seed", "7", "dump", imageFile(image)});
    PcPort port(simulator.devicePath());
    const PcDump dump = receiveDump(port, milliseconds(300));
    EXPECT_EQ(dump.header, "0000003000");
    EXPECT_EQ(dump.data, padded(image));
    EXPECT_FALSE(dump.rejectedBlocks.empty());
    port.close();
    EXPECT_EQ(simulator.waitForExit(), 0);

    Simulator shortPauses(
        {"--silence-ms", "100", "--silence-every", "4", "dump", imageFile(image)});
    PcPort again(shortPauses.devicePath());
    EXPECT_EQ(receiveDump(again, milliseconds(300)).data, padded(image));
    again.close();
    EXPECT_EQ(shortPauses.waitForExit(), 0);
}

// Like an instrument behind a UART: what the PC sends while it has not started, or is busy,
// waits, and each byte is answered in turn afterwards; no two 0x0F fold into one.
TEST(InstrumentDump, QueuedBytesAreAnsweredInTurnAfterALateStartAndAStall) {
    const std::vector<uint8_t> image = memoryImage(252 * 3);
    Simulator simulator({"--start-delay-ms", "400", "--stall-after-block", "1", "--stall-ms",
                         "1000", "dump", imageFile(image)});
    PcPort port(simulator.devicePath());
    auto receive = [&](size_t count) {
        std::vector<uint8_t> bytes;
        while (bytes.size() < count)
            if (const auto byte = port.receive(milliseconds(3000)))
                bytes.push_back(*byte);
            else
                break;
        return bytes;
    };
    auto block = [&](size_t index) {
        const std::vector<uint8_t> b = receive(255);
        EXPECT_EQ(b.size(), 255u);
        EXPECT_TRUE(std::equal(b.begin() + 1, b.begin() + 253, image.begin() + long(index * 252)));
        return b;
    };
    port.send(0x06);
    port.send(0x06); // queued before the start: fetches block 1 unasked
    EXPECT_EQ(receive(10), std::vector<uint8_t>(lengthHeaderBytes(image.size())));
    block(0);
    port.send(0x06);
    const std::vector<uint8_t> half = receive(127);
    EXPECT_FALSE(port.receive(milliseconds(300))) << "the stall";
    port.send(0x0F);
    port.send(0x0F);
    std::vector<uint8_t> cut = half;
    const std::vector<uint8_t> rest = receive(128); // the cut block, finished
    cut.insert(cut.end(), rest.begin(), rest.end());
    EXPECT_EQ(cut, block(1));
    block(1); // the second 0x0F's answer
    port.close();
}

TEST(InstrumentDump, EmptyMemoryAnnouncesZeroAndStops) {
    Simulator simulator({"--empty", "dump", imageFile(memoryImage(500))});
    PcPort port(simulator.devicePath());
    const PcDump dump = receiveDump(port);
    EXPECT_EQ(dump.header, "0000000000");
    EXPECT_TRUE(dump.data.empty());
    EXPECT_FALSE(port.receive(milliseconds(300))) << "nothing after the header";
    port.close();
    EXPECT_EQ(simulator.waitForExit(), 0);
}

TEST(InstrumentDump, GivenDeviceAndGivenHeader) {
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    PcPort port(master);
    Simulator simulator(
        {"--device", name, "--header", "0000000300", "dump", imageFile(memoryImage(300))});
    EXPECT_EQ(simulator.devicePath(), name);
    const PcDump dump = receiveDump(port);
    EXPECT_EQ(dump.header, "0000000300");
    EXPECT_EQ(dump.data.size(), 504u);
    EXPECT_EQ(simulator.waitForExit(), 0);
    close(slave);
}

TEST(InstrumentDump, TimeLimitCountsOnlyTimeWithoutProgress) {
    Simulator lonely({"--time-limit", "1", "--empty", "dump", imageFile({})});
    EXPECT_EQ(lonely.waitForExit(), 2);

    // Ten slow answers take longer than the limit, but each one is progress. Each answer comes
    // well inside the limit, so a busy machine does not make it look like silence.
    Simulator patient({"--time-limit", "2", "dump", imageFile(memoryImage(252 * 10))});
    PcPort port(patient.devicePath());
    EXPECT_TRUE(receiveDump(port, milliseconds(2000), milliseconds(250)).complete);
    port.close();
    EXPECT_EQ(patient.waitForExit(), 0);
}

TEST(InstrumentDump, BadArgumentsAreRefused) {
    for (const std::vector<std::string> &bad : {std::vector<std::string>{"dump"},
                                                {"--corrupt-every", "0", "dump", "x"},
                                                {"--stray", "4G", "dump", "x"},
                                                {"--header", "12", "dump", "x"},
                                                {"fly", "x"},
                                                {"dump", temporaryPath("missing.bin")}}) {
        Simulator simulator(bad);
        EXPECT_TRUE(simulator.devicePath().empty());
        EXPECT_EQ(simulator.waitForExit(), 1) << bad.front();
    }
}

} // namespace
