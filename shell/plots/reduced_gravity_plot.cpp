#include "reduced_gravity_plot.h"

#include "plot_frame.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plots {

namespace {

const QColor kFlagged(200, 0, 0);

bool adjusted(const gravity::Reduction &reduction) {
    return reduction.base_found && reduction.drift.solved;
}

std::string line_label(double line) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", line);
    return text;
}

// The value a profile shows at a station: the Bouguer anomaly with the base's absolute gravity,
// else the gravity relative to the base.
double shown(const gravity::Station &s) {
    return s.bouguer ? *s.bouguer : s.g_rel;
}

} // namespace

std::vector<double> reduced_lines(const gravity::Reduction &reduction) {
    std::vector<double> lines;
    for (const gravity::Station &s : reduction.stations)
        lines.push_back(s.line);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

std::vector<PlotItem> reduced_gravity_items(const gravity::Reduction &reduction) {
    std::vector<PlotItem> items;
    if (!adjusted(reduction)) return items;
    const std::vector<double> lines = reduced_lines(reduction);
    for (std::size_t k = 0; k < lines.size(); ++k)
        items.push_back(
            {PlotKind::ReducedGravity, 0, k, "Reduced gravity - line " + line_label(lines[k])});
    items.push_back({PlotKind::GravityLoops, 0, 0, "Gravity loops - residuals"});
    return items;
}

void draw_reduced_profile(QPainter &painter, const QRectF &area,
                          const gravity::Reduction &reduction, std::size_t line_index) {
    const std::vector<double> lines = reduced_lines(reduction);
    if (line_index >= lines.size()) return;
    std::vector<const gravity::Station *> stations;
    for (const gravity::Station &s : reduction.stations)
        if (s.line == lines[line_index] && s.tied) stations.push_back(&s);
    std::sort(stations.begin(), stations.end(),
              [](const gravity::Station *a, const gravity::Station *b) { return a->x < b->x; });
    if (stations.empty()) {
        draw_message(painter, area, QStringLiteral("No station of this line is tied to the base"));
        return;
    }
    std::vector<double> xs, ys;
    for (const gravity::Station *s : stations) {
        xs.push_back(s->x);
        ys.push_back(shown(*s) - s->g_sd);
        ys.push_back(shown(*s) + s->g_sd);
    }
    const double u = device_unit(painter);
    const Range xr = finite_range(xs), yr = finite_range(ys);
    const double x_pad = 0.03 * (xr.hi - xr.lo), y_pad = 0.08 * (yr.hi - yr.lo);
    FrameTexts texts;
    texts.x_title = QStringLiteral("Station");
    texts.y_title = reduction.base_gravity
                        ? QStringLiteral("Simple Bouguer anomaly (mGal, %1 kg/m\u00b3); bars: G_SD")
                              .arg(reduction.density, 0, 'f', 0)
                        : QStringLiteral("Gravity relative to the base (mGal); bars: G_SD");
    const PlotFrame frame(painter, area, Axis(xr.lo - x_pad, xr.hi + x_pad, false),
                          Axis(yr.lo - y_pad, yr.hi + y_pad, false), texts);
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    QPainterPath curve;
    for (const gravity::Station *s : stations) {
        const QPointF at = frame.at(s->x, shown(*s));
        curve.elementCount() == 0 ? curve.moveTo(at) : curve.lineTo(at);
    }
    painter.setPen(QPen(Qt::black, 1.5 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    // Error bars, and the stations to read again filled red.
    for (const gravity::Station *s : stations) {
        const double low = shown(*s) - s->g_sd, high = shown(*s) + s->g_sd;
        const QPointF at = frame.at(s->x, shown(*s));
        painter.setPen(QPen(Qt::black, u));
        painter.drawLine(frame.at(s->x, low), frame.at(s->x, high));
        painter.drawLine(QPointF(at.x() - 3 * u, frame.y(low)),
                         QPointF(at.x() + 3 * u, frame.y(low)));
        painter.drawLine(QPointF(at.x() - 3 * u, frame.y(high)),
                         QPointF(at.x() + 3 * u, frame.y(high)));
        painter.setBrush(s->read_again ? kFlagged : QColor(Qt::black));
        painter.drawEllipse(at, 3.5 * u, 3.5 * u);
    }
    painter.restore();
    frame.draw_axes(painter);
}

void draw_gravity_loops(QPainter &painter, const QRectF &area,
                        const gravity::Reduction &reduction) {
    if (!adjusted(reduction) || reduction.readings.empty()) return;
    const gravity::UtcMs start = reduction.readings.front().utc;
    const auto hours = [&](gravity::UtcMs utc) {
        return static_cast<double>(utc - start) / gravity::kHourMs;
    };
    std::vector<double> xs, ys;
    for (const gravity::ReducedReading &r : reduction.readings) {
        if (std::isnan(r.residual)) continue;
        xs.push_back(hours(r.utc));
        ys.push_back(r.residual);
    }
    const gravity::Tally counted = gravity::tally(reduction);
    const double u = device_unit(painter);
    const QString legend =
        QStringLiteral("%1 loop(s) from base %2; %3 reading(s) beyond %4 sigma (red); %5 loop(s) "
                       "beyond the chi-square bound (shaded)")
            .arg(counted.loops)
            .arg(QString::fromStdString(reduction.stations[reduction.base].name))
            .arg(counted.flagged)
            .arg(reduction.residual_limit, 0, 'g', 3)
            .arg(counted.failed_loops);
    const FittedText legend_text = fit_text(painter, legend, area.width() - 16 * u, 8);
    const QRectF plot_area = area.adjusted(0, 0, 0, -(legend_text.height() + 4 * u));
    const Range xr = finite_range(xs), yr = finite_range(ys);
    const double y_extent = std::max({std::fabs(yr.lo), std::fabs(yr.hi), 1e-3}) * 1.1;
    FrameTexts texts;
    texts.x_title = QStringLiteral("Hours since %1 %2 UTC")
                        .arg(QString::fromStdString(gravity::utc_date_text(start)),
                             QString::fromStdString(gravity::utc_time_text(start)));
    texts.y_title = QStringLiteral("Residual (mGal)");
    const PlotFrame frame(
        painter, plot_area,
        Axis(xr.lo - 0.02 * (xr.hi - xr.lo), xr.hi + 0.02 * (xr.hi - xr.lo), false),
        Axis(-y_extent, y_extent, false), texts);
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    // Loops beyond the bound shaded; each base reading a dotted line.
    for (const gravity::LoopFit &loop : reduction.drift.loops) {
        if (loop.test_passed) continue;
        const double x0 = frame.x(hours(reduction.readings[loop.first].utc));
        const double x1 = frame.x(hours(reduction.readings[loop.last].utc));
        painter.fillRect(QRectF(x0, frame.area().top(), x1 - x0, frame.area().height()),
                         QColor(255, 220, 220));
    }
    painter.setPen(QPen(QColor(120, 120, 120), u, Qt::DotLine));
    for (const gravity::ReducedReading &r : reduction.readings)
        if (r.station == reduction.base)
            painter.drawLine(QPointF(frame.x(hours(r.utc)), frame.area().top()),
                             QPointF(frame.x(hours(r.utc)), frame.area().bottom()));
    painter.setPen(QPen(Qt::black, u));
    painter.drawLine(frame.at(frame.x_axis().lo(), 0), frame.at(frame.x_axis().hi(), 0));
    for (const gravity::ReducedReading &r : reduction.readings) {
        if (std::isnan(r.residual)) continue;
        const QPointF at = frame.at(hours(r.utc), r.residual);
        painter.setPen(QPen(r.flagged ? kFlagged : QColor(Qt::black), u));
        painter.setBrush(r.flagged ? kFlagged : QColor(Qt::black));
        const double radius = (r.flagged ? 4.5 : 2.5) * u;
        painter.drawEllipse(at, radius, radius);
    }
    painter.restore();
    frame.draw_axes(painter);
    painter.setPen(Qt::black);
    draw_fitted(painter, legend_text,
                QRectF(area.left() + 8 * u, plot_area.bottom() + 2 * u, area.width() - 16 * u,
                       legend_text.height()),
                Qt::AlignLeft);
}

} // namespace plots
