// The window's one file dialog ("CommonDialog1"): asks for a file to open or to write and
// answers with its full path, or with nothing when the user cancels. It opens in the proposed
// name's folder, else in folder(). Opening names existing files only; saving also accepts a new
// name (the dump creates its file) on every desktop's dialog, and leaves the overwrite question
// to the caller, which knows the name it will really write.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace ravelin {

class FileQuestion : public QObject {
    Q_OBJECT
  public:
    explicit FileQuestion(QWidget *owner);

    // nameFilters in Qt's form, e.g. "System Files (*.sys)".
    std::optional<QString> fileToOpen(const QStringList &nameFilters, const QString &proposed);
    std::optional<QString> fileToSave(const QStringList &nameFilters, const QString &proposed);

    // The last path answered, for a question that proposes it again; empty before the first.
    QString lastAnswer() const { return lastAnswer_; }

    QString folder() const { return folder_; }
    void setFolder(const QString &folder) { folder_ = folder; }

    // Use Qt's own dialog rather than the desktop's, so tests can reach it as a modal widget.
    void setNonNative(bool nonNative) { nonNative_ = nonNative; }

  private:
    std::optional<QString> ask(bool forSaving, const QStringList &nameFilters,
                               const QString &proposed);

    QWidget *owner_;
    QString folder_;
    QString lastAnswer_;
    bool nonNative_ = false;
};

} // namespace ravelin
