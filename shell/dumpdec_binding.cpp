#include "dumpdec_binding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ravelin {

DumpdecBinding::DumpdecBinding(QStringList folders) : folders_(std::move(folders)) {}

// The library stays loaded for the life of the process: its state is process-wide anyway, and
// unloading it under a caller that still holds the entry would be worse than keeping it.
DumpdecBinding::~DumpdecBinding() = default;

// The installed library folder is found from the program's own place (bin/../lib/ravelin), as the
// program's run path does, so an install under any prefix finds its decoder.
QStringList DumpdecBinding::defaultFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../") +
                                           QStringLiteral(RAVELIN_INSTALL_LIBDIR))};
}

bool DumpdecBinding::bind(QString *failure) {
    if (entry_) return true;
    QString libraryPath;
    for (const QString &folder : folders_) {
        const QString candidate = QDir(folder).filePath(QLatin1String(libraryFileName));
        if (QFileInfo(candidate).isFile()) {
            libraryPath = candidate;
            break;
        }
    }
    if (libraryPath.isEmpty()) {
        *failure = QStringLiteral("Decoder library %1 not found in %2")
                       .arg(QLatin1String(libraryFileName), folders_.join(QStringLiteral(", ")));
        return false;
    }
    auto library = std::make_unique<QLibrary>(libraryPath);
    if (!library->load()) {
        *failure = QStringLiteral("Decoder library %1 cannot be loaded: %2")
                       .arg(libraryPath, library->errorString());
        return false;
    }
    const auto entry = reinterpret_cast<Entry>(library->resolve(entryName));
    if (!entry) {
        *failure = QStringLiteral("Decoder entry %1 not found in %2")
                       .arg(QLatin1String(entryName), libraryPath);
        return false;
    }
    library_ = std::move(library);
    entry_ = entry;
    return true;
}

DecoderOutcome DumpdecBinding::convert(const QString &rawPath, std::int16_t *keepFlag) {
    DecoderOutcome outcome;
    if (!bind(&outcome.failure)) return outcome;
    // The path goes over as a NUL-terminated string in the file system's encoding; the buffer
    // is ours and outlives the call.
    const QByteArray encodedPath = QFile::encodeName(rawPath);
    const int result = entry_(encodedPath.constData(), keepFlag);
    // Only the low word carries the answer.
    outcome.kind =
        (result & 0xFFFF) != 0 ? DecoderOutcome::Kind::Converted : DecoderOutcome::Kind::Failed;
    return outcome;
}

namespace {
QStringList &windowFolders() {
    static QStringList folders;
    return folders;
}
std::unique_ptr<DumpdecBinding> &windowBinding() {
    static std::unique_ptr<DumpdecBinding> binding;
    return binding;
}
} // namespace

DumpdecBinding &windowDumpdec() {
    auto &binding = windowBinding();
    if (!binding) {
        const QStringList &folders = windowFolders();
        binding = std::make_unique<DumpdecBinding>(
            folders.isEmpty() ? DumpdecBinding::defaultFolders() : folders);
    }
    return *binding;
}

void setWindowDumpdecFolders(const QStringList &folders) {
    windowFolders() = folders;
    windowBinding().reset();
}

} // namespace ravelin
