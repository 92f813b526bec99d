#include "export_choices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("ExportChoices", text);
}

} // namespace

std::vector<ExportChoice> exportChoices() {
    return {
        {exports::Format::Res2dinv, false, tr("Res2DInv, one .dat per profile")},
        {exports::Format::Ohm, false, tr("Unified data format, one .ohm per profile")},
        {exports::Format::GravityCsv, false, tr("Gravity CSV, times as recorded")},
        {exports::Format::GravityCsv, true, tr("Gravity CSV, times in UTC...")},
        {exports::Format::Csv, false, tr("Spreadsheet CSV of every reading, with QC")},
    };
}

QString exportReport(const exports::ExportOutcome &outcome) {
    QStringList names;
    for (const std::string &path : outcome.written)
        names << QFileInfo(QString::fromStdString(path)).fileName();
    QString text;
    if (!outcome.failures.empty()) {
        text = tr("Export failed:");
        for (const std::string &failure : outcome.failures)
            text += QStringLiteral(" ") + QString::fromStdString(failure);
        if (!names.isEmpty()) text += QStringLiteral(" ");
    }
    if (!names.isEmpty())
        text += (names.size() == 1 ? tr("Exported 1 file: ")
                                   : tr("Exported %1 files: ").arg(names.size())) +
                names.join(QStringLiteral(", ")) + QStringLiteral(".");
    for (const std::string &lost : outcome.lost)
        text += QStringLiteral(" ") + QString::fromStdString(lost) + QStringLiteral(".");
    for (const std::string &note : outcome.notes)
        text += QStringLiteral(" ") + QString::fromStdString(note) + QStringLiteral(".");
    return text;
}
