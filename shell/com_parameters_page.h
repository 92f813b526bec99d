// The Com Parameters page: port, speed, framing and flow control for RS-232, and the USB
// Interface box. The stored settings are applied to the port at start-up and the box is shown as
// stored (ticked on a first run); OK applies the choice to the port and stores it with the box;
// Cancel changes nothing.
#pragma once

#include "port_settings.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ravelin {

class MSComm;

class ComParametersPage : public QWidget {
    Q_OBJECT
  public:
    ComParametersPage(MSComm &port, QWidget *parent = nullptr);

    // Applies the stored settings to the port (a refused value gives way to its default) and
    // shows them in the lists and the USB Interface box.
    void loadStoredSettings();
    // What the lists and options show now.
    PortSettings choice() const;
    int16_t portChoice() const;
    // The framing the lists show with the flow control the port has: a serial upload does not
    // apply the flow-control choice.
    PortSettings uploadSettings() const;
    bool usbChosen() const;
    // The speed box shows 57600 while a serial upload runs at it; false puts back what it held.
    void showUploadSpeed(bool uploading);
    QPushButton *okButton() const { return ok_; }
    // The devices the port entries stand for and those present, shown again.
    void showPortDevices();

  private:
    void applyChoice(); // OK
    void show(const PortSettings &settings);
    void showFlowControlNote();

    MSComm &port_;
    QSerialPort::FlowControl flowChoice_ = QSerialPort::NoFlowControl; // the option last clicked
    QString speedBeforeUpload_;
    QComboBox *portList_;
    QComboBox *speedList_;
    QComboBox *dataBitsList_;
    QComboBox *parityList_;
    QComboBox *stopBitsList_;
    std::array<QRadioButton *, 4> flowOptions_;
    QPushButton *ok_;
    QCheckBox *usbInterface_;
    QLabel *portDevice_;
    QLabel *presentDevices_;
    QLabel *flowControlNote_;
};

} // namespace ravelin
