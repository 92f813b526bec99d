#include "xyz_file.h"

#include "text_lines.h"

#include <QFile>

namespace ravelin {

bool writeXyzFile(const QString &surveyPath, const QString &xyzPath, QString *failure) {
    QFile xyz(xyzPath);
    if (!xyz.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *failure = QStringLiteral("Cannot create %1: %2").arg(xyzPath, xyz.errorString());
        return false;
    }
    QFile survey(surveyPath);
    if (!survey.open(QIODevice::ReadOnly)) {
        *failure = QStringLiteral("Cannot open %1: %2").arg(surveyPath, survey.errorString());
        return false;
    }
    const QByteArray text = survey.readAll();
    if (survey.error() != QFileDevice::NoError) {
        *failure = QStringLiteral("Cannot read %1: %2").arg(surveyPath, survey.errorString());
        return false;
    }
    QByteArray kept;
    kept.reserve(text.size());
    for (const QByteArray &line : splitTextLines(text)) {
        if (line.startsWith('/') || line.startsWith('L')) continue;
        kept += line;
        kept += "\r\n";
    }
    if (xyz.write(kept) != kept.size() || !xyz.flush()) {
        *failure = QStringLiteral("Cannot write %1: %2").arg(xyzPath, xyz.errorString());
        return false;
    }
    return true;
}

} // namespace ravelin
