// CommonDialog1: the one file dialog of the window. Callers set Filter, Flags, CancelError,
// InitDir and FileName, call ShowOpen or ShowSave, and read FileName back; FileName keeps its
// value between uses. ShowOpen names existing files only; ShowSave also accepts a new name (the
// dump creates its file), on every desktop's dialog, and leaves the overwrite question to the
// caller, which knows the name it will really write.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>

class QWidget;

namespace ravelin {

// Thrown by ShowOpen when the user cancels and CancelError is true.
class DialogCancelled : public std::runtime_error {
  public:
    DialogCancelled() : std::runtime_error("Cancel was selected.") {}
};

class CommonDialog : public QObject {
    Q_OBJECT
  public:
    // Flags bits that change the dialog; the others are kept and reported back unchanged.
    static constexpr int32_t kReadOnly = 0x1;     // read-only box ticked
    static constexpr int32_t kHideReadOnly = 0x4; // read-only box hidden

    explicit CommonDialog(QWidget *owner);

    QString Filter; // "description|pattern|description|pattern..."
    int32_t Flags = 0;
    bool CancelError = false;
    QString InitDir;
    QString FileName; // in: proposed name; out: the full path chosen
    QString DialogTitle;

    // Shows the dialog modally. Returns true when a file was chosen (FileName holds its full
    // path); on cancel leaves FileName as it was and returns false, or throws DialogCancelled
    // when CancelError is true.
    bool ShowOpen();
    // The same for a file to be written.
    bool ShowSave();

    // The Qt name filters that Filter stands for, e.g. "All Files (*.*)".
    static QStringList nameFilters(const QString &filter);

    // Use Qt's own dialog rather than the desktop's, so tests can reach it as a modal widget.
    void setNonNative(bool nonNative) { nonNative_ = nonNative; }

  private:
    bool show(bool forSaving);
    QWidget *owner_;
    bool nonNative_ = false;
};

} // namespace ravelin
