#include "port_settings.h"

#include "comm_error.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace ravelin {

namespace {

constexpr int kMinSpeed = 50;
constexpr int kMaxSpeed = 4000000;

constexpr std::pair<QSerialPort::Parity, char> kParityLetters[] = {{QSerialPort::EvenParity, 'e'},
                                                                   {QSerialPort::OddParity, 'o'},
                                                                   {QSerialPort::NoParity, 'n'},
                                                                   {QSerialPort::MarkParity, 'm'},
                                                                   {QSerialPort::SpaceParity, 's'}};

constexpr std::pair<QSerialPort::StopBits, const char *> kStopBitsTexts[] = {
    {QSerialPort::OneStop, "1"}, {QSerialPort::OneAndHalfStop, "1.5"}, {QSerialPort::TwoStop, "2"}};

// Codes 0-3 in order.
constexpr QSerialPort::FlowControl kFlowControls[] = {
    QSerialPort::NoFlowControl, QSerialPort::SoftwareControl, QSerialPort::HardwareControl,
    kBothFlowControls};

[[noreturn]] void refuse(const QString &text, const QString &why) {
    throw CommError(QStringLiteral("Invalid port settings \"%1\": %2").arg(text, why));
}

qint32 parseSpeed(const QString &text, const QString &field) {
    bool digitsOnly = !field.isEmpty() && field.size() <= 9;
    for (QChar c : field)
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    const int speed = digitsOnly ? field.toInt() : 0;
    if (speed < kMinSpeed || speed > kMaxSpeed)
        refuse(text, QStringLiteral("the speed must be a whole number of bits per second "
                                    "from %1 to %2")
                         .arg(kMinSpeed)
                         .arg(kMaxSpeed));
    return speed;
}

} // namespace

PortSettings portSettingsFromText(const QString &text, QSerialPort::FlowControl flow) {
    const QStringList fields = text.split(u',');
    if (fields.size() != 1 && fields.size() != 4)
        refuse(text, QStringLiteral("expected speed,parity,data bits,stop bits "
                                    "(for example 19200,n,8,1)"));

    PortSettings settings;
    settings.flowControl = flow;
    settings.baudRate = parseSpeed(text, fields[0].trimmed());
    if (fields.size() == 1) return settings;

    const QString parity = fields[1].trimmed().toLower();
    const auto letter = std::find_if(std::begin(kParityLetters), std::end(kParityLetters),
                                     [&](auto p) { return parity == QLatin1Char(p.second); });
    if (letter == std::end(kParityLetters))
        refuse(text, QStringLiteral("the parity must be one of e, o, n, m, s"));
    settings.parity = letter->first;

    const QString data = fields[2].trimmed();
    if (data.size() != 1 || data[0] < u'4' || data[0] > u'8')
        refuse(text, QStringLiteral("the data bits must be 4 to 8"));
    settings.dataBits = QSerialPort::DataBits(data[0].digitValue());

    const QString stop = fields[3].trimmed();
    const auto stopBits = std::find_if(std::begin(kStopBitsTexts), std::end(kStopBitsTexts),
                                       [&](auto s) { return stop == QLatin1String(s.second); });
    if (stopBits == std::end(kStopBitsTexts))
        refuse(text, QStringLiteral("the stop bits must be 1, 1.5 or 2"));
    settings.stopBits = stopBits->first;
    return settings;
}

char parityLetter(QSerialPort::Parity parity) {
    for (auto [value, letter] : kParityLetters)
        if (value == parity) return letter;
    return 'n';
}

QString framingText(const PortSettings &settings) {
    const char *stop = "1";
    for (auto [value, text] : kStopBitsTexts)
        if (value == settings.stopBits) stop = text;
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.baudRate)
        .arg(QLatin1Char(parityLetter(settings.parity)))
        .arg(int(settings.dataBits))
        .arg(QLatin1String(stop));
}

QSerialPort::FlowControl flowControlFromCode(int code) {
    if (code < 0 || code >= int(std::size(kFlowControls)))
        throw CommError(QStringLiteral("Invalid flow-control code %1: choose 0 to 3").arg(code));
    return kFlowControls[code];
}

int flowControlCode(QSerialPort::FlowControl flow) {
    const auto found = std::find(std::begin(kFlowControls), std::end(kFlowControls), flow);
    return found == std::end(kFlowControls) ? 0 : int(found - std::begin(kFlowControls));
}

QString unavailableOnLinux(const PortSettings &settings) {
    if (settings.dataBits < QSerialPort::Data5)
        return QStringLiteral("%1 data bits are not available on Linux (choose 5 to 8)")
            .arg(int(settings.dataBits));
    if (settings.stopBits == QSerialPort::OneAndHalfStop)
        return QStringLiteral("1.5 stop bits are not available on Linux (choose 1 or 2)");
    return {};
}

QString flowControlWarning(QSerialPort::FlowControl flow) {
    if (flow & QSerialPort::SoftwareControl)
        return QStringLiteral("Xon/Xoff swallows the bytes 11h and 13h: dumps and uploads may "
                              "stall. Choose None or RTS for transfers.");
    return {};
}

} // namespace ravelin
