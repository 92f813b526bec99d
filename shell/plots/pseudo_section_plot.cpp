// Profile pseudo-section: apparent resistivity (logarithmic colours) above chargeability (linear
// colours), each reading a cell at its position and level, levels growing downward. A reading
// left out by hand keeps its colour under a cross.
#include "colour_scale.h"
#include "plot_frame.h"
#include "plot_geometry.h"
#include "plot_kinds.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plots {

namespace {

// The smallest gap between distinct finite values, or 0 when there is one value.
double smallest_gap(std::vector<double> values) {
    std::erase_if(values, [](double v) { return !std::isfinite(v); });
    std::sort(values.begin(), values.end());
    double gap = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double d = values[i] - values[i - 1];
        if (d > 1e-9 && (gap == 0 || d < gap)) gap = d;
    }
    return gap;
}

// "n = 2", "a = 10 m", "AB/2 = 15 m".
QString level_label(survey::LevelKind kind, double level) {
    const QString value = QString::number(level, 'g', 6);
    switch (kind) {
    case survey::LevelKind::DipoleNumber:
        return QStringLiteral("n = ") + value;
    case survey::LevelKind::Separation:
        return QStringLiteral("a = ") + value + QStringLiteral(" m");
    case survey::LevelKind::HalfSpread:
        break;
    }
    return QStringLiteral("AB/2 = ") + value + QStringLiteral(" m");
}

bool has_place(double position, double level) {
    return std::isfinite(position) && std::isfinite(level);
}

// How far each reading's cell reaches to its left and right along the line: half-way to its
// neighbours of the same level, and half the level's spacing where it has none (or they are
// farther), so that the readings of a level tile it without gaps.
struct CellReach {
    double left = 0, right = 0;
};

std::vector<CellReach> cell_reaches(const std::vector<double> &positions,
                                    const std::vector<double> &levels, double fallback) {
    std::vector<CellReach> reach(positions.size());
    // A reading without a place (a record cut short reads as erased memory, NaN) has no cell.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < positions.size(); ++i)
        if (has_place(positions[i], levels[i])) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return levels[a] != levels[b] ? levels[a] < levels[b] : positions[a] < positions[b];
    });
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin;
        while (end < order.size() && levels[order[end]] == levels[order[begin]])
            ++end;
        std::vector<double> level_positions;
        for (std::size_t k = begin; k < end; ++k)
            level_positions.push_back(positions[order[k]]);
        const double gap = smallest_gap(level_positions);
        const double half = 0.5 * (gap > 0 ? gap : fallback);
        for (std::size_t k = begin; k < end; ++k) {
            const double x = positions[order[k]];
            CellReach &r = reach[order[k]];
            r.left = r.right = half;
            // The nearest neighbour at another position on each side.
            for (std::size_t j = k; j-- > begin;)
                if (positions[order[j]] < x - 1e-9) {
                    r.left = std::min(half, 0.5 * (x - positions[order[j]]));
                    break;
                }
            for (std::size_t j = k + 1; j < end; ++j)
                if (positions[order[j]] > x + 1e-9) {
                    r.right = std::min(half, 0.5 * (positions[order[j]] - x));
                    break;
                }
        }
        begin = end;
    }
    return reach;
}

} // namespace

void draw_pseudo_section(QPainter &painter, const QRectF &area, const survey::Line &line,
                         const PlotOptions &options, const std::vector<bool> &excluded,
                         std::vector<PlacedReading> *placed) {
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
    // The resistivity scale reaches a labelled value at each end.
    const Axis colour_axes[2] = {Axis::logarithmic_to_ticks(rho.lo, rho.hi),
                                 Axis(m.lo, m.hi, false)};
    const QString titles[2] = {QStringLiteral("Apparent resistivity (ohm.m)"),
                               chargeability_title(options)};

    const survey::LevelKind kind =
        points.empty() ? survey::LevelKind::DipoleNumber : points[0].level_kind;
    const std::vector<CellReach> reach = cell_reaches(positions, levels, x_gap ? x_gap : 1);
    std::vector<double> distinct_levels = levels;
    std::erase_if(distinct_levels, [](double v) { return !std::isfinite(v); });
    std::sort(distinct_levels.begin(), distinct_levels.end());
    distinct_levels.erase(std::unique(distinct_levels.begin(), distinct_levels.end()),
                          distinct_levels.end());
    const double half = area.height() / 2;
    auto make_frame = [&](int panel, const QMarginsF &at_least) {
        const QRectF outer(area.left(), area.top() + panel * half, area.width(), half);
        FrameTexts texts;
        texts.x_title = QStringLiteral("Position (m)");
        texts.y_title = QStringLiteral("Level");
        texts.y_label = [&](double t) { return level_label(kind, t); };
        if (distinct_levels.size() <= 12) texts.y_ticks = distinct_levels;
        texts.colour = colour_axes[panel];
        texts.colour_title = titles[panel];
        return PlotFrame(painter, outer, x_axis, level_axis, texts, true, at_least);
    };
    // A reading lies at the same x in both panels.
    const QMarginsF column = common_columns({make_frame(0, {}), make_frame(1, {})});
    for (int panel = 0; panel < 2; ++panel) {
        const PlotFrame frame = make_frame(panel, column);
        const double cell_h = std::clamp(
            level_gap ? std::fabs(frame.y(level_gap) - frame.y(0)) : 12 * u, 4 * u, 60 * u);
        frame.draw_grid(painter);
        painter.save();
        painter.setClipRect(frame.area());
        std::vector<QRectF> crossed;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            if (!has_place(points[i].position, points[i].level)) continue;
            const QPointF centre = frame.at(points[i].position, points[i].level);
            // Edges on whole device pixels, so that neighbouring cells leave no lighter seam.
            const double left = std::round(frame.x(points[i].position - reach[i].left));
            const double right =
                std::max(std::round(frame.x(points[i].position + reach[i].right)), left + 2 * u);
            const QRectF cell(left, centre.y() - cell_h / 2, right - left, cell_h);
            const double value = panel == 0 ? resistivities[i] : chargeabilities[i];
            const bool drawable =
                panel == 0 ? survey::has_plottable_resistivity(readings[i]) : std::isfinite(value);
            const QRectF inner = cell.adjusted(1.5 * u, 1.5 * u, -1.5 * u, -1.5 * u);
            if (drawable) {
                painter.fillRect(cell, value_colour(colour_axes[panel], value));
            } else { // a crossed white cell: the reading exists but has no value to colour
                painter.setPen(QPen(Qt::black, 1.5 * u));
                painter.setBrush(Qt::white);
                painter.drawRect(inner);
                painter.drawLine(inner.topLeft(), inner.bottomRight());
                painter.drawLine(inner.bottomLeft(), inner.topRight());
            }
            if (placed) placed->push_back({cell, i});
            if (i < excluded.size() && excluded[i]) crossed.push_back(inner);
        }
        // Over every cell, so that a reading left out shows under its reciprocal's cell too.
        painter.setPen(QPen(Qt::black, 2 * u));
        for (const QRectF &inner : crossed) {
            painter.drawLine(inner.topLeft(), inner.bottomRight());
            painter.drawLine(inner.bottomLeft(), inner.topRight());
        }
        painter.restore();
        frame.draw_axes(painter);
    }
}

} // namespace plots
