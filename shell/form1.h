// Form1: the RAVELIN window. Four tab pages (Dump, Operating_System, Com Parameters, Help), the
// status bar, the serial port component MSComm1, the file dialog CommonDialog1 and the timers.
// Controls are public members named as their object names, so the action handlers (each area
// in its own form1_*.cpp) and the tests reach them directly.
#pragma once

#include "form1_transfer_state.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QToolBar;

namespace ravelin {

class CommonDialog;
class MSComm;
class PictureBox;
class ProgressIndicator;
class StatusBar;
class TextBox;

class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    // Builds the controls and runs Form_Load (the stored port settings are applied here).
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // --- Controls -------------------------------------------------------------------------
    QTabWidget *vsIndexTab1;
    // Dump page
    QPushButton *STARTDUMP;
    QPushButton *Convert;
    QPushButton *butRAWTVD;
    QCheckBox *PrintTextFile;
    QCheckBox *CreateXYZ;
    QCheckBox *KeepLogFile;
    ProgressIndicator *UploadProgress;
    PictureBox *Picture1;
    QLabel *LabEXIT;
    PictureBox *PictureExit;
    // Operating_System page
    QPushButton *REPROGRAMSYSTEM;
    ProgressIndicator *ReprogramProgress;
    PictureBox *Picture3;
    QLabel *LabEXIT2;
    PictureBox *PictureEXIT2;
    // Com Parameters page
    QComboBox *cboPort;
    QComboBox *cboSpeed;
    QComboBox *cboDataBits;
    QComboBox *cboParity;
    QComboBox *cboStopBits;
    std::array<QRadioButton *, 4> optFlow; // object names optFlow0 .. optFlow3
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QCheckBox *USBInterface;
    QLabel *rs232Label;
    QFrame *Line1;
    QLabel *portDevice;      // the device the selected cboPort entry stands for
    QLabel *presentDevices;  // the serial devices found on this machine
    QLabel *flowControlNote; // why Xon/Xoff can stall a transfer
    // Help page
    PictureBox *Picture2;
    TextBox *HelpInfo;
    // Outside the pages
    StatusBar *StatusBar1;
    QToolBar *ActiveBar1;

    // --- Components -----------------------------------------------------------------------
    MSComm *MSComm1;
    std::unique_ptr<CommonDialog> CommonDialog1;
    QTimer *Timer1; // 500 ms, disabled at creation
    QTimer *Timer2; // 2000 ms, disabled at creation

    // --- Window state ---------------------------------------------------------------------
    int16_t KeepFlag = 0;   // the decoder's keep flag, set from KeepLogFile before each call
    int16_t FlowChoice = 0; // index of the flow-control option last clicked
    TransferState Transfer;

    void setStatusText(const QString &text);
    QString statusText() const;

    // Lets pending window events run (repaint, serial input, timer ticks).
    static void DoEvents();

    // --- Handlers -------------------------------------------------------------------------
    void Form_Load();
    void Form_Unload();
    void LoadPropertySettings();
    void cmdOK_Click();
    void cmdCancel_Click();
    void optFlow_Click(int16_t Index);
    void PictureExit_Click();
    void PictureEXIT2_Click();
    void Convert_Click();         // form1_convert.cpp
    void butRAWTVD_Click();       // form1_convert.cpp
    void STARTDUMP_Click();       // form1_dump.cpp
    void ReceiveDumpData();       // form1_dump.cpp
    void MSComm1_OnComm();        // form1_dump.cpp
    void Timer1_Timer();          // form1_dump.cpp
    void Timer2_Timer();          // form1_dump.cpp
    void CloseTransferFiles();    // form1_dump.cpp: closes what a transfer has open
    void REPROGRAMSYSTEM_Click(); // form1_upload.cpp
    void SendSystemLines();       // form1_upload.cpp

    // Closing the window ends the program at once (files closed first). Tests replace the
    // ending so that the test process lives on; a wait loop then sees isUnloaded() and stops.
    void setProgramEnder(std::function<void()> ender);
    bool isUnloaded() const { return unloading_; }

  signals:
    void unloaded();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    QWidget *buildDumpPage();
    QWidget *buildOperatingSystemPage();
    QWidget *buildComParametersPage();
    QWidget *buildHelpPage();
    void showPortDevices();
    void showFlowControlNote();
    void pressDefaultButton();

    std::function<void()> endProgram_;
    bool unloading_ = false;
};

} // namespace ravelin
