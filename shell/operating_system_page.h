// The Operating_System page: REPROGRAM SYSTEM, the upload's progress and the EXIT picture.
#pragma once

#include "transfer_page.h"

class QPushButton;

namespace ravelin {

class OperatingSystemPage : public TransferPage {
    Q_OBJECT
  public:
    explicit OperatingSystemPage(QWidget *parent = nullptr);
    QPushButton *reprogramButton() const { return reprogram_; }

  signals:
    void reprogramClicked();
    void exitClicked();

  private:
    QPushButton *reprogram_;
};

} // namespace ravelin
