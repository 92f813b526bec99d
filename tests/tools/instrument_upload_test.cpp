// ravelin-instrument's upload reception against a PC peer written here.
#include "instrument_harness.h"

#include <gtest/gtest.h>

using namespace instrument_test;

namespace {

struct PcUpload {
    int repeatRequests = 0;
    int lineRequests = 0;
};

// The PC's side: a ready byte, then one line per 0x11 after the first, the last line again on
// 0x0F; returns once the last line is out, as the program does. `repeatAs` replaces the text
// sent for a repeat request when not empty.
PcUpload sendLines(PcPort &port, const std::vector<std::string> &lines,
                   const std::string &repeatAs = "") {
    PcUpload upload;
    port.send(0x06);
    bool online = false;
    size_t next = 0;
    while (const std::optional<uint8_t> byte = port.receive(milliseconds(5000))) {
        if (*byte == 0x11 && !online) {
            online = true;
        } else if (*byte == 0x11) {
            ++upload.lineRequests;
            port.send(lines[next++] + "\r\n");
            if (next == lines.size()) break;
        } else if (*byte == 0x0F && next > 0) {
            ++upload.repeatRequests;
            port.send((repeatAs.empty() ? lines[next - 1] : repeatAs) + "\r\n");
        }
    }
    return upload;
}

const std::vector<std::string> kSystemLines = {":10000000A5", ":1000100000FF", "S0030000FC",
                                               "line four", ":00000001FF"};

std::string joined(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

TEST(InstrumentUpload, LinesArriveInOrderAndRepeatsAreAskedFor) {
    const std::string received = temporaryPath("received.txt");
    Simulator simulator({"--repeat-every", "2", "upload", received});
    ASSERT_FALSE(simulator.devicePath().empty());
    PcPort port(simulator.devicePath());
    const PcUpload upload = sendLines(port, kSystemLines);
    EXPECT_EQ(upload.lineRequests, 5);
    // Lines 2 and 4 are asked for again while the PC is still listening.
    EXPECT_EQ(upload.repeatRequests, 2);
    port.close(); // the PC is done: closing ends the upload
    EXPECT_EQ(simulator.waitForExit(), 0);
    EXPECT_EQ(readFile(received), joined(kSystemLines));
}

TEST(InstrumentUpload, ExpectedLineCountEndsTheUploadWithoutAnotherRequest) {
    const std::string received = temporaryPath("counted.txt");
    const std::vector<std::string> lines(kSystemLines.begin(), kSystemLines.begin() + 3);
    Simulator simulator({"--lines", "3", "--repeat-every", "3", "upload", received});
    PcPort port(simulator.devicePath());
    const PcUpload upload = sendLines(port, lines);
    EXPECT_EQ(upload.lineRequests, 3);
    // The last line's repeat request reaches the PC only if it keeps listening.
    const std::optional<uint8_t> after = port.receive(milliseconds(1000));
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, 0x0F);
    port.send(lines.back() + "\r\n");
    EXPECT_EQ(simulator.waitForExit(), 0);
    EXPECT_FALSE(port.receive(milliseconds(200))) << "no request beyond the third line";
    EXPECT_EQ(readFile(received), joined(lines));
}

TEST(InstrumentUpload, ARepeatThatDiffersOrAMissingLineIsAFailure) {
    {
        Simulator simulator({"--repeat-every", "1", "upload", temporaryPath("differs.txt")});
        PcPort port(simulator.devicePath());
        sendLines(port, kSystemLines, "garbled");
        port.close();
        EXPECT_EQ(simulator.waitForExit(), 3);
    }
    {
        Simulator simulator({"--lines", "9", "upload", temporaryPath("short.txt")});
        PcPort port(simulator.devicePath());
        sendLines(port, kSystemLines);
        port.close();
        EXPECT_EQ(simulator.waitForExit(), 3);
    }
}

} // namespace
