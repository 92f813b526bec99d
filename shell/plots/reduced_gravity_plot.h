// The plots of a gravity reduction (the gravity library's network of all KX-4 readings of a
// database): each line's reduced profile, relative gravity or the Bouguer anomaly against
// station with G_SD bars, and the loops' residuals against time with the flagged readings marked.
#pragma once

#include "plot_items.h"
#include "reduction.h"

#include <QRectF>

#include <vector>

class QPainter;

namespace plots {

// One reduced profile per line of the stations (in line order), then the loop view; none when
// nothing was adjusted.
std::vector<PlotItem> reduced_gravity_items(const gravity::Reduction &reduction);

// The line numbers of the reduction's stations, ascending; a reduced profile's item.line is an
// index into them.
std::vector<double> reduced_lines(const gravity::Reduction &reduction);

void draw_reduced_profile(QPainter &painter, const QRectF &area,
                          const gravity::Reduction &reduction, std::size_t line_index);
void draw_gravity_loops(QPainter &painter, const QRectF &area, const gravity::Reduction &reduction);

} // namespace plots
