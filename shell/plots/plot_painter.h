// Draws one plot item into a rectangle of any paint device: the window, a PNG image, a PDF page
// or a printer page all use this one drawing code.
#pragma once

#include "exclusions.h"
#include "plot_items.h"
#include "survey_model.h"

#include <QRectF>

#include <cstddef>
#include <vector>

class QPainter;
namespace gravity {
struct Reduction;
}

namespace plots {

struct PlotOptions {
    int channel = -1; // M channel shown as chargeability, from 0; -1: the mean of the channels
    // Readings left out by hand (NAME.exclude), drawn crossed out in pseudo-sections.
    exports::ExcludedLines excluded;
    // The database's gravity reduction, for its plots; it outlives the drawing.
    const gravity::Reduction *reduction = nullptr;
};

// Where a reading was drawn, for picking it with the mouse.
struct PlacedReading {
    QRectF mark;         // in the painter's coordinates
    std::size_t reading; // index into the line's ip_readings
};

void draw_plot(QPainter &painter, const QRectF &area, const survey::Database &database,
               const PlotItem &item, const PlotOptions &options,
               std::vector<PlacedReading> *placed = nullptr);

} // namespace plots
