// Where a transfer reports to: the window maps these to its status bar, progress indicators,
// message box, beep and buttons; the command-line tools print them.
#pragma once

#include <QString>

namespace ravelin {

class TransferSink {
  public:
    virtual ~TransferSink() = default;
    virtual void setStatus(const QString &text) = 0;
    // value 0-100 and the caption shown on the indicator ("42%", "42% Completed")
    virtual void setDumpProgress(int value, const QString &caption) = 0;
    virtual void setUploadProgress(int value, const QString &caption) = 0;
    // OK button only, no icon
    virtual void showMessage(const QString &text, const QString &title) = 0;
    virtual void beep() = 0;
    virtual void setDumpButtonEnabled(bool enabled) = 0;
    virtual void setUploadButtonEnabled(bool enabled) = 0;
};

} // namespace ravelin
