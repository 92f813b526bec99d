// Binding of the decoder library libdumpdec.so by name, at its first use rather than at start-up,
// so that the window opens (and a dump can be taken) even when the library is missing.
#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace ravelin {

// What one call of the decoder came to.
struct DecoderOutcome {
    enum class Kind {
        Converted, // the decoder ran and returned a nonzero low word
        Failed,    // the decoder ran and returned 0 (it could not open a file)
        NotBound   // the library or its entry could not be found; the decoder did not run
    };
    Kind kind = Kind::NotBound;
    QString failure; // for NotBound: what was missing and where it was looked for
};

class DumpdecBinding {
  public:
    // Folders searched in order for libdumpdec.so; the first file found is the one bound.
    explicit DumpdecBinding(QStringList folders);
    ~DumpdecBinding();
    DumpdecBinding(const DumpdecBinding &) = delete;
    DumpdecBinding &operator=(const DumpdecBinding &) = delete;

    // Converts the raw database at rawPath. keepFlag must stay valid for the call only.
    DecoderOutcome convert(const QString &rawPath, std::int16_t *keepFlag);

    // The default folders: the program's own folder, then the installed library folder beside
    // the program's (<prefix>/bin/../lib).
    static QStringList defaultFolders();

    static constexpr const char *libraryFileName = "libdumpdec.so";
    static constexpr const char *entryName = "dumpdec_main";

  private:
    using Entry = int (*)(const char *path, std::int16_t *keep);
    bool bind(QString *failure);

    QStringList folders_;
    std::unique_ptr<QLibrary> library_;
    Entry entry_ = nullptr;
};

// The binding the window uses: created at the first conversion with the default folders.
DumpdecBinding &windowDumpdec();

// Test seam: make the window bind from these folders instead (takes effect at the next
// conversion). An empty list restores the default folders.
void setWindowDumpdecFolders(const QStringList &folders);

} // namespace ravelin
