// The drawing of each kind of plot; draw_plot picks one.
#pragma once

#include "plot_painter.h"

namespace plots {

// excluded: per reading, whether it was left out by hand (drawn crossed out); may be empty.
void draw_pseudo_section(QPainter &painter, const QRectF &area, const survey::Line &line,
                         const PlotOptions &options, const std::vector<bool> &excluded,
                         std::vector<PlacedReading> *placed);
void draw_sounding(QPainter &painter, const QRectF &area, const survey::Line &line,
                   const PlotOptions &options, std::vector<PlacedReading> *placed);
void draw_gravity_line(QPainter &painter, const QRectF &area, const survey::Line &line);
void draw_gravity_drift(QPainter &painter, const QRectF &area, const survey::Survey &survey);

// "Chargeability M3 (mV/V)" or "Chargeability, mean of M channels (mV/V)"; compact: "M3
// (mV/V)" or "Mean M (mV/V)", for short axes.
QString chargeability_title(const PlotOptions &options, bool compact = false);

} // namespace plots
