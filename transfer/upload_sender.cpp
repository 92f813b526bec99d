#include "upload_sender.h"

#include "progress_text.h"

namespace ravelin {

void UploadSender::begin(const QList<QByteArray> &lines, int16_t lineTotal) {
    lines_ = lines;
    lineTotal_ = lineTotal;
    nextLine_ = 0;
    exchangeOpen_ = false;
    port_.DiscardInput();
}

void UploadSender::sendSystemLines() {
    while (port_.InBufferCount() > 0) {
        const uint8_t b = port_.InputByte();
        ++bytesTaken_;
        if (done()) {
            // The last line may still be asked for again; nothing else is answered.
            if (b == kRepeat && nextLine_ > 0) sendLastLine();
        } else if (!exchangeOpen_) {
            if (b != kNextLine) continue;
            sink_.setStatus("ON-LINE...");
            readyTimer_.stop();
            exchangeOpen_ = true;
        } else if (b == kNextLine) {
            if (nextLine_ >= lines_.size()) continue; // checked before the start; never here
            ++nextLine_;
            sendLastLine();
            const double p = double(nextLine_) * 100.0 / lineTotal_;
            sink_.setUploadProgress(roundedPercent(p), percentCaption(p, "% Completed"));
            if (done()) {
                sink_.setStatus("New Operating System Downloaded, wait for UNIT to POWER DOWN");
                sink_.beep();
            }
        } else if (b == kRepeat && nextLine_ > 0) { // only a line of this upload
            sendLastLine();
        }
    }
}

} // namespace ravelin
