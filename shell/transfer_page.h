// A page whose button starts a transfer: the window puts its STOP button in the page's progress
// row while that transfer runs.
#pragma once

#include <QWidget>

class QHBoxLayout;

namespace ravelin {

class ProgressIndicator;

class TransferPage : public QWidget {
  public:
    using QWidget::QWidget;
    ProgressIndicator *progress() const { return progress_; }
    QHBoxLayout *progressRow() const { return progressRow_; }

  protected:
    // Builds the row that holds the progress indicator (and STOP during a transfer).
    QHBoxLayout *makeProgressRow(const char *progressName);

  private:
    ProgressIndicator *progress_ = nullptr;
    QHBoxLayout *progressRow_ = nullptr;
};

} // namespace ravelin
