// CONVERT and RAW To TVD: the decoder call with its retry, the printout and the ".xyz" file as
// ticked on the Dump page, the completion message and the end of the run. The decoder call,
// the printout and the ".xyz" file live in their own units; this one holds the sequence, the
// held buttons, the status bar and the messages.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace ravelin {

class DumpPage;
class StatusBar;

enum class ConversionStart { Convert, RawToTvd };

class ConversionAction {
  public:
    // window: owns the message boxes and is closed when the run ends.
    ConversionAction(QWidget &window, DumpPage &page, StatusBar &status)
        : window_(window), page_(page), status_(status) {}

    // An empty path gets "No data to convert"; otherwise converts and, unless RAW To TVD hit a
    // failure (then the reason is on the status bar), ends the program.
    void run(const QString &rawPath, ConversionStart startedBy);

  private:
    void convertFile(const QString &rawPath);
    bool runDecoder(const QString &rawPath);
    void setStatus(const QString &text);

    QWidget &window_;
    DumpPage &page_;
    StatusBar &status_;
    int16_t keepFlag_ = 0; // the decoder's keep flag, set from Keep Log File before each call
};

} // namespace ravelin
