// The Dump page: START DUMP, CONVERT, RAW To TVD, the conversion options, the dump's progress, the
// survey arriving during a dump and the EXIT picture. The page only reports the clicks; the window
// runs the actions.
#pragma once

#include "transfer_page.h"

class QCheckBox;
class QPushButton;

namespace ravelin {

class LiveDumpView;

struct ConversionOptions {
    bool printTextFile = false;
    bool createXyz = false;
    bool keepLogFile = false;
};

class DumpPage : public TransferPage {
    Q_OBJECT
  public:
    explicit DumpPage(QWidget *parent = nullptr);

    // What is ticked now; an option counts only when it is fully checked.
    ConversionOptions options() const;
    // CONVERT, START DUMP and RAW To TVD, in this order (held while the decoder runs).
    void setConversionButtonsEnabled(bool enabled);
    QPushButton *startDumpButton() const { return startDump_; }
    // Where the picture stands from the first dump on: the survey arriving.
    LiveDumpView *liveView() const { return live_; }
    void showLiveView(bool shown);

  signals:
    void startDumpClicked();
    void convertClicked();
    void rawToTvdClicked();
    void exitClicked();

  private:
    QPushButton *startDump_;
    QPushButton *convert_;
    QPushButton *rawToTvd_;
    QCheckBox *printTextFile_;
    QCheckBox *createXyz_;
    QCheckBox *keepLogFile_;
    QWidget *picture_;
    LiveDumpView *live_;
};

} // namespace ravelin
