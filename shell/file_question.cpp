#include "file_question.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace ravelin {

FileQuestion::FileQuestion(QWidget *owner) : QObject(owner), owner_(owner) {
    setObjectName(QStringLiteral("CommonDialog1"));
}

std::optional<QString> FileQuestion::fileToOpen(const QStringList &nameFilters,
                                                const QString &proposed) {
    return ask(false, nameFilters, proposed);
}

std::optional<QString> FileQuestion::fileToSave(const QStringList &nameFilters,
                                                const QString &proposed) {
    return ask(true, nameFilters, proposed);
}

std::optional<QString> FileQuestion::ask(bool forSaving, const QStringList &nameFilters,
                                         const QString &proposed) {
    QFileDialog dialog(owner_, forSaving ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    // Desktop dialogs in open mode refuse a name that does not exist yet: a new file is saved.
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (forSaving) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (nonNative_ || QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!nameFilters.isEmpty()) dialog.setNameFilters(nameFilters);

    const QFileInfo name(proposed);
    const QString start = !proposed.isEmpty() && name.isAbsolute() ? name.absolutePath() : folder_;
    if (!start.isEmpty() && QFileInfo(start).isDir()) dialog.setDirectory(start);
    if (!proposed.isEmpty()) dialog.selectFile(name.isAbsolute() ? proposed : name.fileName());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    lastAnswer_ =
        QDir::toNativeSeparators(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    return lastAnswer_;
}

} // namespace ravelin
