// Loads the fake usbbulk library from beside the benchmark and gives it the memory to dump.
#pragma once

#include "fake_usbbulk.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibrary>
#include <cstdio>

namespace ravelin::bench {

// The library's path, or an empty string (with a message) when it cannot be used.
inline QString loadFakeUsb(QLibrary &fake, const QByteArray &image, const char *tool) {
    const QString path = QCoreApplication::applicationDirPath() + "/libfake_usbbulk.so";
    fake.setFileName(path);
    auto setImage =
        reinterpret_cast<decltype(&fake_usbbulk_set_image)>(fake.resolve("fake_usbbulk_set_image"));
    if (!setImage) {
        std::fprintf(stderr, "%s: cannot load %s\n", tool, qPrintable(path));
        return {};
    }
    setImage(reinterpret_cast<const uint8_t *>(image.constData()), image.size());
    return path;
}

} // namespace ravelin::bench
