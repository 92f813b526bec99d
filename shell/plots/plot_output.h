// Plots written to files: one item as a PNG image, or many as the pages of a PDF document.
#pragma once

#include "plot_painter.h"

#include <QSize>
#include <QString>

#include <vector>

namespace plots {

// An image of size pixels at dpi dots per inch. False when the file could not be written.
bool write_png(const QString &path, const survey::Database &database, const PlotItem &item,
               const PlotOptions &options, QSize size = {1500, 1000}, int dpi = 144);

// One A4 landscape page per item, at 300 dpi. False when the file could not be written.
bool write_pdf(const QString &path, const survey::Database &database,
               const std::vector<PlotItem> &items, const PlotOptions &options);

} // namespace plots
