// Colour scales of the plots. The colours run from dark blue through green to light yellow with
// steadily rising lightness, so neighbouring values stay distinguishable in greyscale print.
#pragma once

#include "plot_axis.h"

#include <QColor>

namespace plots {

// The colour of a position 0..1 along the scale (clamped).
QColor scale_colour(double fraction);

// A value's colour on an axis's range (linear or logarithmic).
inline QColor value_colour(const Axis &axis, double value) {
    return scale_colour(axis.fraction(value));
}

} // namespace plots
