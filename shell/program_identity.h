// What the program calls itself: window caption, settings application name, version. The file
// description and version comment are in the desktop entry (ravelin.desktop).
#pragma once

#include <QString>

namespace ravelin {

inline const QString kTitle = QStringLiteral("RAVELIN");
inline const QString kProductName = QStringLiteral("RAVELIN  (Tervane Utilities)");
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 12;
inline constexpr int kVersionRevision = 0;

// The product name followed by "    Revision: 1.12 (B0)".
inline QString revisionCaption(const QString &caption) {
    return caption + QStringLiteral("    Revision: ") + QString::number(kVersionMajor) + "." +
           QString::number(kVersionMinor) + " (B" + QString::number(kVersionRevision) + ")";
}

} // namespace ravelin
