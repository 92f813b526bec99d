#include "line_settings.h"

#include "comm_error.h"

#include <QStringList>

namespace ravelin {

namespace {

constexpr int kMinSpeed = 50;
constexpr int kMaxSpeed = 4000000;

[[noreturn]] void refuse(const QString &text, const QString &why) {
    throw CommError(QStringLiteral("Invalid port settings \"%1\": %2").arg(text, why));
}

int parseSpeed(const QString &text, const QString &field) {
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

LineSettings parseLineSettings(const QString &text) {
    const QStringList fields = text.split(u',');
    if (fields.size() != 1 && fields.size() != 4)
        refuse(text, QStringLiteral("expected speed,parity,data bits,stop bits "
                                    "(for example 19200,n,8,1)"));

    LineSettings settings;
    settings.speed = parseSpeed(text, fields[0].trimmed());
    if (fields.size() == 1) return settings;

    const QString parity = fields[1].trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("eonms").contains(parity))
        refuse(text, QStringLiteral("the parity must be one of e, o, n, m, s"));
    settings.parity = parity[0].toLatin1();

    const QString data = fields[2].trimmed();
    if (data.size() != 1 || data[0] < u'4' || data[0] > u'8')
        refuse(text, QStringLiteral("the data bits must be 4 to 8"));
    settings.dataBits = data[0].digitValue();

    const QString stop = fields[3].trimmed();
    if (stop == u"1")
        settings.stopBits = StopBits::One;
    else if (stop == u"1.5")
        settings.stopBits = StopBits::OneAndHalf;
    else if (stop == u"2")
        settings.stopBits = StopBits::Two;
    else
        refuse(text, QStringLiteral("the stop bits must be 1, 1.5 or 2"));
    return settings;
}

QString unavailableOnLinux(const LineSettings &settings) {
    if (settings.dataBits < 5)
        return QStringLiteral("%1 data bits are not available on Linux (choose 5 to 8)")
            .arg(settings.dataBits);
    if (settings.stopBits == StopBits::OneAndHalf)
        return QStringLiteral("1.5 stop bits are not available on Linux (choose 1 or 2)");
    return {};
}

QString formatLineSettings(const LineSettings &settings) {
    static const char *const stopTexts[] = {"1", "1.5", "2"};
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.speed)
        .arg(QLatin1Char(settings.parity))
        .arg(settings.dataBits)
        .arg(QLatin1String(stopTexts[static_cast<int>(settings.stopBits)]));
}

} // namespace ravelin
