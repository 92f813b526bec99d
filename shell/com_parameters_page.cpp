#include "com_parameters_page.h"

#include "mscomm.h"
#include "page_parts.h"
#include "port_names.h"
#include "port_settings_lists.h"
#include "program_identity.h"
#include "settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ravelin {

namespace {

const QString kDefaultSettings = QStringLiteral("19200");
const QString kDefaultCommPort = QStringLiteral("1");
const QString kDefaultHandshaking = QStringLiteral("1");

// The USB Interface box is stored as "1" or "0"; any other value leaves it ticked.
bool storedUsbChoice() {
    return GetSetting("COMM", "USBInterface", "1").trimmed() != QStringLiteral("0");
}

int16_t storedPort(const QString &text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 16) throw CommError("Invalid port number");
    return static_cast<int16_t>(port);
}

QSerialPort::FlowControl storedFlowControl(const QString &text) {
    bool ok = false;
    const int code = text.trimmed().toInt(&ok);
    if (!ok) throw CommError("Invalid property value");
    return flowControlFromCode(code);
}

// Applies the stored value of a COMM key; one the port refuses gives way to the key's default,
// so a damaged store never keeps the window from opening.
template <typename Apply>
void applyStored(const QString &key, const QString &defaultValue, Apply apply) {
    try {
        apply(GetSetting("COMM", key, defaultValue));
    } catch (const std::exception &) {
        apply(defaultValue);
    }
}

QComboBox *pickList(const char *objectName, const QList<ListEntry> &entries) {
    auto *box = named(new QComboBox, objectName);
    box->setEditable(false);
    for (const ListEntry &entry : entries)
        box->addItem(entry.text, entry.value);
    return box;
}

void select(QComboBox *box, int value) {
    box->setCurrentIndex(box->findData(value));
}

template <typename T> T chosen(const QComboBox *box) {
    return static_cast<T>(box->currentData().toInt());
}

} // namespace

ComParametersPage::ComParametersPage(MSComm &port, QWidget *parent) : QWidget(parent), port_(port) {
    setObjectName(QStringLiteral("ComParametersPage"));
    usbInterface_ = named(new QCheckBox(QStringLiteral("USB Interface")), "USBInterface");
    usbInterface_->setChecked(true);
    auto *rs232Label = named(new QLabel(QStringLiteral("RS232 setup")), "rs232Label");
    QFont bold = rs232Label->font();
    bold.setBold(true);
    rs232Label->setFont(bold);
    auto *line = named(new QFrame, "Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    portList_ = named(new QComboBox, "cboPort");
    portList_->addItems(portEntries());
    speedList_ = pickList("cboSpeed", speedEntries());
    dataBitsList_ = pickList("cboDataBits", dataBitsEntries());
    parityList_ = pickList("cboParity", parityEntries());
    stopBitsList_ = pickList("cboStopBits", stopBitsEntries());
    portDevice_ = named(new QLabel, "portDevice");
    presentDevices_ = named(new QLabel, "presentDevices");
    presentDevices_->setWordWrap(true);
    connect(portList_, &QComboBox::currentIndexChanged, this, [this] { showPortDevices(); });

    auto *portFrame = named(new QGroupBox(QStringLiteral("Port")), "framePort");
    auto *portLayout = new QVBoxLayout(portFrame);
    portLayout->addWidget(portList_);
    portLayout->addWidget(portDevice_);

    auto *speedFrame = named(new QGroupBox(QStringLiteral("Maximum Speed")), "frameSpeed");
    (new QVBoxLayout(speedFrame))->addWidget(speedList_);

    auto *preferences =
        named(new QGroupBox(QStringLiteral("Connection Preferences")), "framePreferences");
    auto *preferencesLayout = new QGridLayout(preferences);
    int row = 0;
    for (auto [caption, box] :
         {std::pair{"Data Bits:", dataBitsList_}, std::pair{"Parity:", parityList_},
          std::pair{"Stop Bits:", stopBitsList_}}) {
        auto *label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(box);
        preferencesLayout->addWidget(label, row, 0);
        preferencesLayout->addWidget(box, row, 1);
        ++row;
    }

    auto *flowFrame = named(new QGroupBox(QStringLiteral("&Flow Control")), "frameFlow");
    auto *flowLayout = new QVBoxLayout(flowFrame);
    const char *flowCaptions[] = {"None", "Xon/Xoff", "RTS", "Xon/RTS"};
    for (int16_t i = 0; i < 4; ++i) {
        flowOptions_[i] = new QRadioButton(QString::fromLatin1(flowCaptions[i]));
        flowOptions_[i]->setObjectName(QStringLiteral("optFlow%1").arg(i));
        flowLayout->addWidget(flowOptions_[i]);
    }
    flowOptions_[0]->setChecked(true);
    for (int i = 0; i < 4; ++i)
        connect(flowOptions_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) flowChoice_ = flowControlFromCode(i);
            showFlowControlNote();
        });
    flowControlNote_ = named(new QLabel, "flowControlNote");
    flowControlNote_->setWordWrap(true);
    flowLayout->addWidget(flowControlNote_);

    ok_ = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    auto *cancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &ComParametersPage::applyChoice);
    // Cancel leaves the lists as picked and applies nothing.

    auto *left = new QVBoxLayout;
    left->addWidget(portFrame);
    left->addWidget(speedFrame);
    left->addStretch();
    auto *middle = new QVBoxLayout;
    middle->addWidget(preferences);
    middle->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(flowFrame);
    right->addStretch();
    auto *frames = new QHBoxLayout;
    frames->addLayout(left, 1);
    frames->addLayout(middle, 1);
    frames->addLayout(right, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(presentDevices_, 1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(usbInterface_);
    layout->addWidget(line);
    layout->addWidget(rs232Label);
    layout->addLayout(frames, 1);
    layout->addLayout(buttons);
}

void ComParametersPage::loadStoredSettings() {
    PortSettings stored;
    applyStored("Settings", kDefaultSettings,
                [&](const QString &v) { stored = portSettingsFromText(v); });
    applyStored("CommPort", kDefaultCommPort,
                [this](const QString &v) { port_.setCommPort(storedPort(v)); });
    applyStored("Handshaking", kDefaultHandshaking,
                [&](const QString &v) { stored.flowControl = storedFlowControl(v); });
    // A speed the list does not hold: the default settings.
    if (speedList_->findData(stored.baudRate) < 0)
        stored = portSettingsFromText(kDefaultSettings, stored.flowControl);
    port_.setSettings(stored);
    show(stored);
    portList_->setCurrentIndex(port_.CommPort() - 1);
    usbInterface_->setChecked(storedUsbChoice());
    showPortDevices();
    showFlowControlNote();
}

void ComParametersPage::show(const PortSettings &settings) {
    select(speedList_, settings.baudRate);
    select(parityList_, settings.parity);
    select(dataBitsList_, settings.dataBits);
    select(stopBitsList_, settings.stopBits);
    flowOptions_[flowControlCode(settings.flowControl)]->setChecked(true);
}

PortSettings ComParametersPage::choice() const {
    return {speedList_->currentData().toInt(), chosen<QSerialPort::DataBits>(dataBitsList_),
            chosen<QSerialPort::Parity>(parityList_), chosen<QSerialPort::StopBits>(stopBitsList_),
            flowChoice_};
}

PortSettings ComParametersPage::uploadSettings() const {
    PortSettings settings = choice();
    settings.flowControl = port_.settings().flowControl;
    return settings;
}

int16_t ComParametersPage::portChoice() const {
    return static_cast<int16_t>(portList_->currentIndex() + 1);
}

bool ComParametersPage::usbChosen() const {
    return usbInterface_->isChecked();
}

void ComParametersPage::showUploadSpeed(bool uploading) {
    if (uploading) {
        speedBeforeUpload_ = speedList_->currentText();
        select(speedList_, kUploadBaudRate);
    } else {
        speedList_->setCurrentText(speedBeforeUpload_);
    }
}

void ComParametersPage::applyChoice() {
    const PortSettings wanted = choice();
    const int16_t wantedPort = portChoice();
    QString failure; // the first failure's description; later steps still run
    auto attempt = [&failure](auto step) {
        try {
            step();
        } catch (const CommError &e) {
            if (failure.isEmpty()) failure = e.description();
        } catch (const std::exception &e) {
            if (failure.isEmpty()) failure = QString::fromUtf8(e.what());
        }
    };
    auto report = [this, &failure] {
        QMessageBox::warning(this, kTitle, failure, QMessageBox::Ok);
    };

    // A framing this system cannot set is refused now, not when a transfer opens the port.
    failure = unavailableOnLinux(wanted);
    if (!failure.isEmpty()) return report();

    const int16_t oldPort = port_.CommPort();
    if (wantedPort != oldPort) {
        bool reopen = false;
        attempt([&] {
            if (port_.PortOpen()) {
                port_.setPortOpen(false);
                reopen = true;
            }
        });
        attempt([&] { port_.setCommPort(wantedPort); });
        if (failure.isEmpty() && reopen) attempt([&] { port_.setPortOpen(true); });
        if (!failure.isEmpty()) {
            report();
            attempt([&] { port_.setCommPort(oldPort); });
            return;
        }
    }

    attempt([&] { port_.setSettings(wanted); });
    if (!failure.isEmpty()) return report();

    try {
        SaveSetting("COMM", "Settings", framingText(port_.settings()));
        SaveSetting("COMM", "CommPort", QString::number(port_.CommPort()));
        SaveSetting("COMM", "Handshaking",
                    QString::number(flowControlCode(port_.settings().flowControl)));
        SaveSetting("COMM", "USBInterface",
                    usbChosen() ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const std::exception &) {
    }
    try {
        port_.setPortOpen(false);
    } catch (const std::exception &) {
    }
}

void ComParametersPage::showPortDevices() {
    const int port = portList_->currentIndex() + 1;
    if (port >= 1)
        portDevice_->setText(QStringLiteral("Com%1 is %2").arg(port).arg(devicePathForPort(port)));
    const QStringList present = presentSerialDevices();
    presentDevices_->setText(QStringLiteral("Serial devices found: ") +
                             (present.isEmpty() ? QStringLiteral("none") : present.join(", ")));
}

void ComParametersPage::showFlowControlNote() {
    flowControlNote_->setText(flowControlWarning(flowChoice_));
}

} // namespace ravelin
