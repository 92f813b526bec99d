#include "upload_sender.h"

#include "progress_text.h"

namespace ravelin {

void UploadSender::begin(const QList<QByteArray> &lines, int16_t lineTotal) {
    lines_ = lines;
    nextLine_ = 0;
    s_.LineTotal = lineTotal;
    s_.UploadMode = true;
    s_.LinesSent = 0;
    port_.DiscardInput();
    s_.AwaitingLength = true;
    s_.TransferDone = false;
    s_.FailureText.clear();
}

void UploadSender::sendSystemLines() {
    while (port_.InBufferCount() > 0) {
        const uint8_t b = port_.InputByte();
        ++bytesTaken_;
        if (s_.TransferDone) {
            // The last line may still be asked for again; nothing else is answered.
            if (b == kRepeat) sendCurrentLine();
        } else if (s_.AwaitingLength) {
            if (b != kNextLine) continue;
            sink_.setStatus("ON-LINE...");
            readyTimer_.stop();
            s_.AwaitingLength = false;
        } else if (b == kNextLine) {
            if (nextLine_ >= lines_.size()) continue; // checked before the start; never here
            s_.CurrentLine = lines_[nextLine_++];
            sendCurrentLine();
            s_.LinesSent += 1;
            const double p = s_.LinesSent * 100.0 / s_.LineTotal;
            sink_.setUploadProgress(roundedPercent(p), percentCaption(p, "% Completed"));
            if (s_.LinesSent >= s_.LineTotal) {
                s_.TransferDone = true;
                sink_.setStatus("New Operating System Downloaded, wait for UNIT to POWER DOWN");
                sink_.beep();
            }
        } else if (b == kRepeat && nextLine_ > 0) { // only a line of this upload
            sendCurrentLine();
        }
    }
}

} // namespace ravelin
