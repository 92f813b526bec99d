// Profile pseudo-section: apparent resistivity (logarithmic colours) above chargeability (linear
// colours), each reading a cell at its position and level, levels growing downward.
#include "colour_scale.h"
#include "plot_frame.h"
#include "plot_geometry.h"
#include "plot_kinds.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plots {

namespace {

// The smallest gap between distinct values, or 0 when there is one value.
double smallest_gap(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    double gap = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double d = values[i] - values[i - 1];
        if (d > 1e-9 && (gap == 0 || d < gap)) gap = d;
    }
    return gap;
}

QString level_prefix(survey::LevelKind kind) {
    switch (kind) {
    case survey::LevelKind::DipoleNumber:
        return QStringLiteral("n = ");
    case survey::LevelKind::Separation:
        return QStringLiteral("a = ");
    case survey::LevelKind::HalfSpread:
        break;
    }
    return QStringLiteral("AB/2 = ");
}

} // namespace

void draw_pseudo_section(QPainter &painter, const QRectF &area, const survey::Line &line,
                         const PlotOptions &options, std::vector<PlacedReading> *placed) {
    const auto &readings = line.ip_readings;
    std::vector<survey::PseudoSectionPoint> points;
    std::vector<double> positions, levels, resistivities, chargeabilities;
    for (const survey::IpReading &r : readings) {
        points.push_back(survey::pseudo_section_point(r));
        positions.push_back(points.back().position);
        levels.push_back(points.back().level);
        resistivities.push_back(r.ro);
        chargeabilities.push_back(survey::chargeability(r, options.channel));
    }
    const double u = device_unit(painter);
    const double x_gap = smallest_gap(positions), level_gap = smallest_gap(levels);
    const Range x_range = finite_range(positions), level_range = finite_range(levels);
    // Half a cell of room around the outermost readings.
    const Axis x_axis(x_range.lo - 0.5 * (x_gap ? x_gap : 1),
                      x_range.hi + 0.5 * (x_gap ? x_gap : 1), false);
    const Axis level_axis(level_range.lo - 0.5 * (level_gap ? level_gap : 1),
                          level_range.hi + 0.5 * (level_gap ? level_gap : 1), false);
    const Range rho = finite_range(resistivities, true);
    const Range m = finite_range(chargeabilities);
    const Axis colour_axes[2] = {Axis(rho.lo, rho.hi, true), Axis(m.lo, m.hi, false)};
    const QString titles[2] = {QStringLiteral("Apparent resistivity (ohm.m)"),
                               chargeability_title(options)};

    const survey::LevelKind kind =
        points.empty() ? survey::LevelKind::DipoleNumber : points[0].level_kind;
    const QString prefix = level_prefix(kind);
    std::vector<double> distinct_levels = levels;
    std::sort(distinct_levels.begin(), distinct_levels.end());
    distinct_levels.erase(std::unique(distinct_levels.begin(), distinct_levels.end()),
                          distinct_levels.end());
    const double half = area.height() / 2;
    for (int panel = 0; panel < 2; ++panel) {
        const QRectF outer(area.left(), area.top() + panel * half, area.width(), half);
        PlotFrame frame(panel_area(painter, outer, true), x_axis, level_axis, true);
        if (distinct_levels.size() <= 12) frame.set_y_ticks(distinct_levels);
        const double cell_w =
            std::clamp(x_gap ? std::fabs(frame.x(x_gap) - frame.x(0)) : 12 * u, 4 * u, 60 * u);
        const double cell_h = std::clamp(
            level_gap ? std::fabs(frame.y(level_gap) - frame.y(0)) : 12 * u, 4 * u, 60 * u);
        frame.draw_grid(painter);
        painter.save();
        painter.setClipRect(frame.area());
        for (std::size_t i = 0; i < readings.size(); ++i) {
            const QPointF centre = frame.at(points[i].position, points[i].level);
            const QRectF cell(centre.x() - cell_w / 2, centre.y() - cell_h / 2, cell_w, cell_h);
            const double value = panel == 0 ? resistivities[i] : chargeabilities[i];
            const bool drawable =
                panel == 0 ? survey::has_plottable_resistivity(readings[i]) : std::isfinite(value);
            if (drawable) {
                painter.fillRect(cell, value_colour(colour_axes[panel], value));
            } else { // a hollow mark: the reading exists but has no value to colour
                painter.setPen(QPen(Qt::black, 1.5 * u));
                painter.setBrush(Qt::white);
                painter.drawRect(cell.adjusted(1.5 * u, 1.5 * u, -1.5 * u, -1.5 * u));
            }
            if (placed) placed->push_back({cell, i});
        }
        painter.restore();
        frame.draw_axes(painter, QStringLiteral("Position (m)"), QStringLiteral("Level"),
                        [&](double t) { return prefix + QString::number(t, 'g', 6); });
        draw_colour_bar(painter, frame.area(), colour_axes[panel], titles[panel]);
    }
}

} // namespace plots
