// Gravity: the readings of a line against station (or distance along the line) with their SD as
// error bars, and the drift view of stations read more than once.
#include "colour_scale.h"
#include "plot_frame.h"
#include "plot_geometry.h"
#include "plot_kinds.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace plots {

namespace {

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
    const GravityProfile profile = gravity_profile(line);
    std::vector<double> xs, ys;
    for (const auto *group : {&profile.stations, &profile.bases})
        for (const ProfileStation &s : *group) {
            xs.push_back(s.position);
            for (const survey::GravityReading *g : s.readings) {
                ys.push_back(double{g->gravity} - std::fabs(g->standard_deviation));
                ys.push_back(double{g->gravity} + std::fabs(g->standard_deviation));
            }
        }
    const double u = device_unit(painter);
    const Range xr = finite_range(xs);
    const double pad = 0.03 * (xr.hi - xr.lo);
    const Range yr = finite_range(ys);
    FrameTexts texts;
    texts.x_title =
        profile.by_station ? QStringLiteral("Station") : QStringLiteral("Distance along line");
    texts.y_title = QStringLiteral("Gravity (mGal), station mean; bars: SD");
    const PlotFrame frame(
        painter, area, Axis(xr.lo - pad, xr.hi + pad, false),
        Axis(yr.lo - 0.05 * (yr.hi - yr.lo), yr.hi + 0.05 * (yr.hi - yr.lo), false), texts);
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    // Every reading with its SD bar; repeats of a station show as marks of their own.
    auto draw_readings = [&](const ProfileStation &s) {
        painter.setPen(QPen(Qt::black, u));
        painter.setBrush(Qt::NoBrush);
        for (const survey::GravityReading *g : s.readings) {
            const double low = double{g->gravity} - std::fabs(g->standard_deviation);
            const double high = double{g->gravity} + std::fabs(g->standard_deviation);
            const QPointF at = frame.at(s.position, g->gravity);
            painter.drawLine(frame.at(s.position, low), frame.at(s.position, high));
            painter.drawLine(QPointF(at.x() - 3 * u, frame.y(low)),
                             QPointF(at.x() + 3 * u, frame.y(low)));
            painter.drawLine(QPointF(at.x() - 3 * u, frame.y(high)),
                             QPointF(at.x() + 3 * u, frame.y(high)));
            if (s.readings.size() > 1) painter.drawEllipse(at, 2.5 * u, 2.5 * u);
        }
    };
    // The line joins one point per station, in station order, at the mean of its readings.
    QPainterPath curve;
    for (const ProfileStation &s : profile.stations) {
        draw_readings(s);
        const QPointF at = frame.at(s.position, s.mean);
        curve.elementCount() == 0 ? curve.moveTo(at) : curve.lineTo(at);
    }
    painter.setPen(QPen(Qt::black, 1.5 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    painter.setBrush(Qt::black);
    for (const ProfileStation &s : profile.stations)
        painter.drawEllipse(frame.at(s.position, s.mean), 3 * u, 3 * u);
    // Base stations off the line: apart from it, a triangle at the mean, named.
    painter.setFont(plot_font(painter, 8));
    for (const ProfileStation &s : profile.bases) {
        draw_readings(s);
        painter.setPen(QPen(Qt::black, u));
        painter.setBrush(QColor(160, 160, 160));
        const QPointF at = frame.at(s.position, s.mean);
        draw_marker(painter, at, 4.5 * u, 2);
        painter.drawText(at + QPointF(6 * u, -6 * u),
                         QStringLiteral("base L%1-%2").arg(s.line).arg(s.station));
    }
    painter.restore();
    frame.draw_axes(painter);
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
    const std::optional<CommonDrift> common = common_drift(stations);
    const double u = device_unit(painter);
    // The legend with the common drift and each station's own takes a band at the bottom, its
    // lines wrapped to the plot's width.
    const QString common_text =
        common ? QStringLiteral("Instrument drift %1 \u00b1 %2 mGal/h: one slope fitted over %3 "
                                "repeated station(s), each its own offset (thick line)")
                     .arg(common->slope, 0, 'f', 4)
                     .arg(common->error, 0, 'f', 4)
                     .arg(stations.size())
               : QStringLiteral("Instrument drift: no time between repeated readings");
    const double legend_width = area.width() - 16 * u;
    const FittedText common_line = fit_text(painter, common_text, legend_width, 8, true);
    std::vector<FittedText> station_lines;
    for (std::size_t k = 0; k < stations.size() && k < 12; ++k) {
        QString drift = QStringLiteral("no time between its readings");
        const StationDrift *own = common ? &common->stations[k] : nullptr;
        if (own && own->slope) {
            drift = QStringLiteral("%1 \u00b1 %2 mGal/h")
                        .arg(*own->slope, 0, 'f', 4)
                        .arg(own->error, 0, 'f', 4);
            if (own->departs)
                drift += QStringLiteral(", departs from the common drift (> 3 errors)");
        }
        station_lines.push_back(fit_text(
            painter,
            QStringLiteral("%1: drift %2").arg(QString::fromStdString(stations[k].name), drift),
            legend_width - 14 * u, 8));
    }
    double legend_height = common_line.height() + 4 * u;
    for (const FittedText &line : station_lines)
        legend_height += line.height();
    const QRectF plot_area = area.adjusted(0, 0, 0, -legend_height);
    const Range xr = finite_range(all_hours), yr = finite_range(all_offsets);
    FrameTexts texts;
    texts.x_title = QStringLiteral("Hours since the first repeated reading");
    texts.y_title = QStringLiteral("Gravity - station mean (mGal)");
    const PlotFrame frame(
        painter, plot_area,
        Axis(xr.lo - 0.05 * (xr.hi - xr.lo), xr.hi + 0.05 * (xr.hi - xr.lo), false),
        Axis(yr.lo - 0.1 * (yr.hi - yr.lo), yr.hi + 0.1 * (yr.hi - yr.lo), false), texts);
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
    if (common) { // the common slope, through the middle of the readings' times
        const double mid = 0.5 * (xr.lo + xr.hi);
        const double lo = frame.x_axis().lo(), hi = frame.x_axis().hi();
        painter.setPen(QPen(Qt::black, 2.5 * u));
        painter.drawLine(frame.at(lo, common->slope * (lo - mid)),
                         frame.at(hi, common->slope * (hi - mid)));
    }
    painter.restore();
    frame.draw_axes(painter);
    painter.save();
    painter.setPen(Qt::black);
    const double left = area.left() + 8 * u;
    double y = plot_area.bottom() + 2 * u;
    draw_fitted(painter, common_line, QRectF(left, y, legend_width, common_line.height()),
                Qt::AlignLeft);
    y += common_line.height();
    for (std::size_t k = 0; k < station_lines.size(); ++k) {
        const QColor colour = scale_colour(series.size() > 1 ? 0.85 * k / (series.size() - 1) : 0);
        const bool departs = common && common->stations[k].departs;
        painter.setPen(QPen(Qt::black, u));
        painter.setBrush(colour);
        draw_marker(painter, QPointF(left + 5 * u, y + station_lines[k].line_height / 2), 4 * u,
                    static_cast<int>(k));
        painter.setPen(departs ? QColor(200, 0, 0) : QColor(Qt::black));
        draw_fitted(painter, station_lines[k],
                    QRectF(left + 14 * u, y, legend_width - 14 * u, station_lines[k].height()),
                    Qt::AlignLeft);
        y += station_lines[k].height();
    }
    painter.restore();
}

} // namespace plots
