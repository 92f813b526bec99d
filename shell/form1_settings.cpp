// The Com Parameters page: stored port settings applied at start-up, the OK action.
#include "form1.h"

#include "mscomm.h"
#include "port_names.h"
#include "port_settings_lists.h"
#include "program_identity.h"
#include "settings_store.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>

namespace ravelin {

namespace {

const QString kDefaultSettings = QStringLiteral("19200");
const QString kDefaultCommPort = QStringLiteral("1");
const QString kDefaultHandshaking = QStringLiteral("1");

int16_t storedPort(const QString &text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 16) throw CommError("Invalid port number");
    return static_cast<int16_t>(port);
}

int32_t storedHandshaking(const QString &text) {
    bool ok = false;
    const int code = text.trimmed().toInt(&ok);
    if (!ok || code < 0 || code > 3) throw CommError("Invalid property value");
    return code;
}

// Applies the stored value of a COMM key; one the component refuses gives way to the key's
// default, so a damaged store never keeps the window from opening.
template <typename Apply>
void applyStored(const QString &key, const QString &defaultValue, Apply apply) {
    try {
        apply(GetSetting("COMM", key, defaultValue));
    } catch (const std::exception &) {
        apply(defaultValue);
    }
}

bool readsAsListEntries(const std::optional<ReportedSettings> &reported) {
    return reported && speedEntries().contains(reported->speed) &&
           dataBitsEntries().contains(reported->dataBits);
}

} // namespace

void Form1::LoadPropertySettings() {
    applyStored("Settings", kDefaultSettings,
                [this](const QString &v) { MSComm1->setSettings(v); });
    applyStored("CommPort", kDefaultCommPort,
                [this](const QString &v) { MSComm1->setCommPort(storedPort(v)); });
    applyStored("Handshaking", kDefaultHandshaking,
                [this](const QString &v) { MSComm1->setHandshaking(storedHandshaking(v)); });

    cboPort->clear();
    cboPort->addItems(portEntries());
    cboSpeed->clear();
    cboSpeed->addItems(speedEntries());
    cboDataBits->clear();
    cboDataBits->addItems(dataBitsEntries());
    cboParity->clear();
    cboParity->addItems(parityEntries());
    cboStopBits->clear();
    cboStopBits->addItems(stopBitsEntries());

    auto reported = readReportedSettings(MSComm1->Settings());
    if (!readsAsListEntries(reported)) {
        // A speed or data-bits text the lists do not hold: fall back to the default settings.
        MSComm1->setSettings(kDefaultSettings);
        reported = readReportedSettings(MSComm1->Settings());
    }
    if (reported) {
        cboSpeed->setCurrentIndex(cboSpeed->findText(reported->speed));
        const int parity = parityIndexForLetter(reported->parityLetter);
        if (parity >= 0) cboParity->setCurrentIndex(parity);
        cboDataBits->setCurrentIndex(cboDataBits->findText(reported->dataBits));
        const int stop = cboStopBits->findText(reported->stopBits);
        if (stop >= 0) cboStopBits->setCurrentIndex(stop);
    }
    cboPort->setCurrentIndex(MSComm1->CommPort() - 1);
    optFlow[MSComm1->Handshaking()]->setChecked(true);
}

void Form1::cmdOK_Click() {
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

    const int16_t oldPort = MSComm1->CommPort();
    const auto newPort = static_cast<int16_t>(cboPort->currentIndex() + 1);
    if (newPort != oldPort) {
        bool reopen = false;
        attempt([&] {
            if (MSComm1->PortOpen()) {
                MSComm1->setPortOpen(false);
                reopen = true;
            }
        });
        attempt([&] { MSComm1->setCommPort(newPort); });
        if (failure.isEmpty() && reopen) attempt([&] { MSComm1->setPortOpen(true); });
        if (!failure.isEmpty()) {
            report();
            attempt([&] { MSComm1->setCommPort(oldPort); });
            return;
        }
    }

    attempt([&] {
        MSComm1->setSettings(
            cboSpeed->currentText().trimmed() + "," + cboParity->currentText().left(1) + "," +
            cboDataBits->currentText().trimmed() + "," + cboStopBits->currentText().trimmed());
    });
    if (!failure.isEmpty()) return report();
    attempt([&] { MSComm1->setHandshaking(FlowChoice); });
    if (!failure.isEmpty()) return report();

    try {
        SaveSetting("COMM", "Settings", MSComm1->Settings());
        SaveSetting("COMM", "CommPort", QString::number(MSComm1->CommPort()));
        SaveSetting("COMM", "Handshaking", QString::number(MSComm1->Handshaking()));
    } catch (const std::exception &) {
    }
    try {
        MSComm1->setPortOpen(false);
    } catch (const std::exception &) {
    }
}

void Form1::cmdCancel_Click() {}

void Form1::optFlow_Click(int16_t Index) {
    FlowChoice = Index;
}

void Form1::showPortDevices() {
    const int port = cboPort->currentIndex() + 1;
    if (port >= 1)
        portDevice->setText(QStringLiteral("Com%1 is %2").arg(port).arg(devicePathForPort(port)));
    const QStringList present = presentSerialDevices();
    presentDevices->setText(QStringLiteral("Serial devices found: ") +
                            (present.isEmpty() ? QStringLiteral("none") : present.join(", ")));
}

void Form1::showFlowControlNote() {
    for (int16_t code = 0; code < 4; ++code)
        if (optFlow[code]->isChecked()) flowControlNote->setText(MSComm::flowControlWarning(code));
}

} // namespace ravelin
