#include "upload_session.h"

#include "protocol_bytes.h"

namespace instrument {

UploadSession::UploadSession(SerialLine &line, const Options &options, std::ofstream &out)
    : line_(line), options_(options), out_(out), random_(options.seed) {}

UploadReport UploadSession::run() {
    line_.awaitAnyOf({kReady});
    line_.releaseOwnHold();
    line_.discardInput();
    line_.writeByte(kNextLine); // the first one only opens the exchange
    while (options_.expectedLines == 0 || report_.lines < size_t(options_.expectedLines)) {
        line_.writeByte(kNextLine);
        const std::optional<std::string> text = receiveLine();
        if (!text) {
            if (options_.expectedLines == 0) break; // the PC has nothing more to send
            throw endedEarly("line " + std::to_string(report_.lines + 1) + " never came");
        }
        const size_t number = report_.lines + 1;
        bool last = false;
        if (asksAgain(number)) {
            ++report_.repeatsAsked;
            line_.writeByte(kSendAgain);
            const std::optional<std::string> again = receiveLine();
            if (again && *again != *text) ++report_.repeatsDiffering;
            // The PC closes the line as soon as it has sent its last line, so a repeat of that
            // one goes unanswered and the first copy stands. On a pseudo-terminal that shows as
            // a hang-up; on a serial device silence is all there is to go by.
            if (!again && line_.isPseudoTerminal() && !line_.hungUp())
                throw endedEarly("line " + std::to_string(number) + " was not sent again");
            last = !again;
        }
        out_ << *text << "\r\n";
        out_.flush();
        ++report_.lines;
        line_.progressed();
        if (last) break;
    }
    if (report_.lines == 0) throw std::runtime_error("no line received");
    if (options_.expectedLines > 0 && report_.lines < size_t(options_.expectedLines))
        throw endedEarly("only " + std::to_string(report_.lines) + " lines came");
    return report_;
}

std::runtime_error UploadSession::endedEarly(const std::string &what) const {
    return std::runtime_error(line_.hungUp() ? "the PC closed the line: " + what : what);
}

bool UploadSession::asksAgain(size_t lineNumber) {
    if (options_.repeatEvery > 0 && lineNumber % size_t(options_.repeatEvery) == 0) return true;
    if (options_.repeatChance > 0)
        return std::uniform_int_distribution<int>(0, 99)(random_) < options_.repeatChance;
    return false;
}

std::optional<std::string> UploadSession::receiveLine() {
    const milliseconds idle(options_.idleMs);
    std::string text;
    bool started = false;
    for (;;) {
        const std::optional<uint8_t> byte = line_.readByte(idle);
        if (!byte) {
            if (!started) return std::nullopt;
            throw endedEarly("a line stopped before its CR LF");
        }
        // A ready byte still in flight from the PC's timer is no part of a line.
        if (!started && *byte == kReady) continue;
        started = true;
        text.push_back(char(*byte));
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
            text.resize(text.size() - 2);
            return text;
        }
    }
}

} // namespace instrument
