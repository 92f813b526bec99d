#include "usbbulk_binding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <memory>
#include <vector>

namespace ravelin {

namespace {

template <typename Fn> bool resolve(QLibrary &lib, const char *name, Fn &slot, QString &error) {
    slot = reinterpret_cast<Fn>(lib.resolve(name));
    if (!slot && error.isEmpty())
        error = QString("The USB library %1 has no function %2").arg(lib.fileName(), name);
    return slot != nullptr;
}

QStringList candidates(const QString &explicitPath) {
    if (!explicitPath.isEmpty()) return {explicitPath};
    QStringList list;
    if (QCoreApplication::instance()) {
        // Beside the program while building, the installed library folder after an install.
        const QString programFolder = QCoreApplication::applicationDirPath();
        list << programFolder + "/libusbbulk.so"
             << QDir::cleanPath(programFolder + "/../" RAVELIN_INSTALL_LIBDIR "/libusbbulk.so");
    }
    list << "usbbulk";
    return list;
}

} // namespace

UsbBulkBinding bindUsbBulk(const QString &explicitPath) {
    UsbBulkBinding result;
    QStringList failures;
    for (const QString &name : candidates(explicitPath)) {
        if (name.startsWith('/') && !QFileInfo::exists(name)) continue;
        // Kept loaded for the rest of the run.
        static std::vector<std::unique_ptr<QLibrary>> loaded;
        auto lib = std::make_unique<QLibrary>(name);
        if (!lib->load()) {
            failures << lib->errorString();
            continue;
        }
        UsbBulkApi &api = result.api;
        resolve(*lib, "dll_getDeviceDescriptor", api.getDeviceDescriptor, result.error);
        resolve(*lib, "dll_openUsbPipe", api.openUsbPipe, result.error);
        resolve(*lib, "dll_readPipe", api.readPipe, result.error);
        resolve(*lib, "dll_Get_Long", api.getLong, result.error);
        resolve(*lib, "dll_writePipe", api.writePipe, result.error);
        resolve(*lib, "dll_closeUsbPipe", api.closeUsbPipe, result.error);
        api.getOpenFailure =
            reinterpret_cast<decltype(api.getOpenFailure)>(lib->resolve("dll_getOpenFailure"));
        api.getReadFailure =
            reinterpret_cast<decltype(api.getReadFailure)>(lib->resolve("dll_getReadFailure"));
        loaded.push_back(std::move(lib));
        return result;
    }
    result.error = QString("Cannot load the USB library %1: %2")
                       .arg(explicitPath.isEmpty() ? QString("libusbbulk.so") : explicitPath,
                            failures.isEmpty() ? QString("not found") : failures.join("; "));
    return result;
}

} // namespace ravelin
