// Progress figures as the indicators show them: p rounded, captions "05%", "100% Completed".
#pragma once

#include <QString>
#include <cmath>

namespace ravelin {

inline int roundedPercent(double p) {
    return int(std::lround(p));
}

inline QString percentCaption(double p, const QString &suffix = "%") {
    return QString("%1").arg(std::lround(p), 2, 10, QChar('0')) + suffix;
}

} // namespace ravelin
