#include "common_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace ravelin {

QStringList CommonDialog::nameFilters(const QString &filter) {
    QStringList result;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        // Qt reads the patterns from the parentheses at the end of each entry.
        const QString suffix = " (" + patterns + ")";
        if (description.endsWith("(" + patterns + ")"))
            result << description;
        else
            result << description + suffix;
    }
    return result;
}

CommonDialog::CommonDialog(QWidget *owner) : QObject(owner), owner_(owner) {
    setObjectName(QStringLiteral("CommonDialog1"));
}

bool CommonDialog::ShowOpen() {
    return show(false);
}

bool CommonDialog::ShowSave() {
    return show(true);
}

bool CommonDialog::show(bool forSaving) {
    const QString title = forSaving ? QStringLiteral("Save As") : QStringLiteral("Open");
    QFileDialog dialog(owner_, DialogTitle.isEmpty() ? title : DialogTitle);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    // Desktop dialogs in open mode refuse a name that does not exist yet: a new file is saved.
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (forSaving) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (nonNative_ || QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);

    QString folder = InitDir;
    const QFileInfo proposed(FileName);
    if (!FileName.isEmpty() && proposed.isAbsolute()) folder = proposed.absolutePath();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
    if (!FileName.isEmpty())
        dialog.selectFile(proposed.isAbsolute() ? FileName : proposed.fileName());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (CancelError) throw DialogCancelled();
        return false;
    }
    FileName =
        QDir::toNativeSeparators(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    return true;
}

} // namespace ravelin
