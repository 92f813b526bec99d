// The six usbbulk operations, and the reasons of a failed open and of a failed or short read where
// the library has them, bound by name at run time. The library is looked for in the program's own
// folder first, then in the installed library folder, then along the normal library search path;
// a test may name the file to load instead.
#pragma once

#include "usbbulk/usbbulk.h"

#include <QString>

namespace ravelin {

struct UsbBulkApi {
    decltype(&dll_getDeviceDescriptor) getDeviceDescriptor = nullptr;
    decltype(&dll_openUsbPipe) openUsbPipe = nullptr;
    decltype(&dll_readPipe) readPipe = nullptr;
    decltype(&dll_Get_Long) getLong = nullptr;
    decltype(&dll_writePipe) writePipe = nullptr;
    decltype(&dll_closeUsbPipe) closeUsbPipe = nullptr;
    decltype(&dll_getOpenFailure) getOpenFailure = nullptr; // optional
    decltype(&dll_getReadFailure) getReadFailure = nullptr; // optional

    bool complete() const {
        return getDeviceDescriptor && openUsbPipe && readPipe && getLong && writePipe &&
               closeUsbPipe;
    }
};

struct UsbBulkBinding {
    UsbBulkApi api;
    QString error; // empty when every function was found
};

// explicitPath empty: libusbbulk.so in the program's folder, then in the installed library
// folder, then "usbbulk" on the search path.
// The library stays loaded for the rest of the run.
UsbBulkBinding bindUsbBulk(const QString &explicitPath = QString());

} // namespace ravelin
