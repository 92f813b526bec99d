// Gravity: the readings of a line against station (or distance along the line) with their SD as
// error bars, and the drift view of stations read more than once.
#include "colour_scale.h"
#include "plot_frame.h"
#include "plot_geometry.h"
#include "plot_kinds.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace plots {

namespace {

// Coordinate modes whose X is a station number on the line.
bool x_is_station(std::uint16_t mode) {
    return mode == 0 || mode == 1 || mode == 4 || mode == 5;
}

// A marker of its own shape for each station, so stations stay apart in greyscale too.
void draw_marker(QPainter &painter, const QPointF &at, double r, int shape) {
    switch (shape % 4) {
    case 0:
        painter.drawEllipse(at, r, r);
        break;
    case 1:
        painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        break;
    case 2:
        painter.drawPolygon(
            QPolygonF({at + QPointF(0, -r), at + QPointF(r, r), at + QPointF(-r, r)}));
        break;
    default:
        painter.drawPolygon(QPolygonF(
            {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)}));
        break;
    }
}

} // namespace

void draw_gravity_line(QPainter &painter, const QRectF &area, const survey::Line &line) {
    const auto &readings = line.gravity_readings;
    const bool station = x_is_station(readings.empty() ? 0 : readings[0].coordinate_mode);
    std::vector<double> xs, lows, highs;
    double distance = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const survey::GravityReading &g = readings[i];
        if (i > 0)
            distance +=
                std::hypot(double{g.x} - readings[i - 1].x, double{g.y} - readings[i - 1].y);
        xs.push_back(station ? g.x : distance);
        lows.push_back(double{g.gravity} - std::fabs(g.standard_deviation));
        highs.push_back(double{g.gravity} + std::fabs(g.standard_deviation));
    }
    const double u = device_unit(painter);
    const Range xr = finite_range(xs);
    const double pad = 0.03 * (xr.hi - xr.lo);
    std::vector<double> ys = lows;
    ys.insert(ys.end(), highs.begin(), highs.end());
    const Range yr = finite_range(ys);
    const PlotFrame frame(
        panel_area(painter, area, false), Axis(xr.lo - pad, xr.hi + pad, false),
        Axis(yr.lo - 0.05 * (yr.hi - yr.lo), yr.hi + 0.05 * (yr.hi - yr.lo), false));
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    painter.setPen(QPen(Qt::black, 1.5 * u));
    QPainterPath curve;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(readings[i].gravity)) continue;
        const QPointF at = frame.at(xs[i], readings[i].gravity);
        curve.elementCount() == 0 ? curve.moveTo(at) : curve.lineTo(at);
        painter.drawLine(frame.at(xs[i], lows[i]), frame.at(xs[i], highs[i]));
        painter.drawLine(QPointF(at.x() - 3 * u, frame.y(lows[i])),
                         QPointF(at.x() + 3 * u, frame.y(lows[i])));
        painter.drawLine(QPointF(at.x() - 3 * u, frame.y(highs[i])),
                         QPointF(at.x() + 3 * u, frame.y(highs[i])));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    painter.setBrush(Qt::black);
    for (std::size_t i = 0; i < readings.size(); ++i)
        if (std::isfinite(xs[i]) && std::isfinite(readings[i].gravity))
            painter.drawEllipse(frame.at(xs[i], readings[i].gravity), 3 * u, 3 * u);
    painter.restore();
    frame.draw_axes(painter,
                    station ? QStringLiteral("Station") : QStringLiteral("Distance along line"),
                    QStringLiteral("Gravity (mGal), bars: SD"));
}

void draw_gravity_drift(QPainter &painter, const QRectF &area, const survey::Survey &survey) {
    const std::vector<RepeatedStation> stations = repeated_stations(survey);
    double start = INFINITY;
    for (const RepeatedStation &s : stations)
        for (const survey::GravityReading *g : s.readings)
            start = std::min(start, survey::reading_hours(*g));
    // Each station's readings against time, as differences from the station's mean.
    struct Series {
        std::vector<double> hours, offsets;
        std::optional<LineFit> fit;
    };
    std::vector<Series> series(stations.size());
    std::vector<double> all_hours, all_offsets;
    for (std::size_t k = 0; k < stations.size(); ++k) {
        double mean = 0;
        for (const survey::GravityReading *g : stations[k].readings)
            mean += g->gravity;
        mean /= static_cast<double>(stations[k].readings.size());
        Series &s = series[k];
        for (const survey::GravityReading *g : stations[k].readings) {
            s.hours.push_back(survey::reading_hours(*g) - start);
            s.offsets.push_back(g->gravity - mean);
        }
        s.fit = straight_line_fit(s.hours, s.offsets);
        all_hours.insert(all_hours.end(), s.hours.begin(), s.hours.end());
        all_offsets.insert(all_offsets.end(), s.offsets.begin(), s.offsets.end());
    }
    const double u = device_unit(painter);
    // The legend with each station's drift takes a band at the bottom.
    painter.setFont(plot_font(painter, 8));
    const double line_height = QFontMetricsF(painter.font()).height();
    const double legend_height =
        line_height * static_cast<double>(std::min<std::size_t>(stations.size(), 12) + 1);
    const QRectF plot_area = area.adjusted(0, 0, 0, -legend_height);
    const Range xr = finite_range(all_hours), yr = finite_range(all_offsets);
    const PlotFrame frame(
        panel_area(painter, plot_area, false),
        Axis(xr.lo - 0.05 * (xr.hi - xr.lo), xr.hi + 0.05 * (xr.hi - xr.lo), false),
        Axis(yr.lo - 0.1 * (yr.hi - yr.lo), yr.hi + 0.1 * (yr.hi - yr.lo), false));
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    for (std::size_t k = 0; k < series.size(); ++k) {
        const QColor colour = scale_colour(series.size() > 1 ? 0.85 * k / (series.size() - 1) : 0);
        painter.setPen(QPen(colour, 1.5 * u, k % 2 ? Qt::DashLine : Qt::SolidLine));
        if (const auto &fit = series[k].fit) {
            const double lo = frame.x_axis().lo(), hi = frame.x_axis().hi();
            painter.drawLine(frame.at(lo, fit->intercept + fit->slope * lo),
                             frame.at(hi, fit->intercept + fit->slope * hi));
        }
        painter.setPen(QPen(Qt::black, u));
        painter.setBrush(colour);
        for (std::size_t i = 0; i < series[k].hours.size(); ++i)
            draw_marker(painter, frame.at(series[k].hours[i], series[k].offsets[i]), 4 * u,
                        static_cast<int>(k));
    }
    painter.restore();
    frame.draw_axes(painter, QStringLiteral("Hours since the first repeated reading"),
                    QStringLiteral("Gravity - station mean (mGal)"));
    painter.save();
    painter.setPen(Qt::black);
    double y = plot_area.bottom() + 2 * u;
    for (std::size_t k = 0; k < stations.size() && k < 12; ++k, y += line_height) {
        const QColor colour = scale_colour(series.size() > 1 ? 0.85 * k / (series.size() - 1) : 0);
        painter.setBrush(colour);
        draw_marker(painter, QPointF(plot_area.left() + 110 * u, y + line_height / 2), 4 * u,
                    static_cast<int>(k));
        const QString drift =
            series[k].fit ? QStringLiteral("%1 mGal/hour").arg(series[k].fit->slope, 0, 'f', 4)
                          : QStringLiteral("no time between its readings");
        painter.drawText(
            QRectF(plot_area.left() + 122 * u, y, plot_area.width(), line_height),
            Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1: drift %2").arg(QString::fromStdString(stations[k].name), drift));
    }
    painter.restore();
}

} // namespace plots
