// Sounding curve: apparent resistivity against AB/2 (or a) on log-log axes, chargeability
// against the same spacing beneath.
#include "plot_frame.h"
#include "plot_geometry.h"
#include "plot_kinds.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plots {

namespace {

void draw_mark(QPainter &painter, const QPointF &at, double radius, bool filled) {
    painter.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
    painter.drawEllipse(at, radius, radius);
}

} // namespace

void draw_sounding(QPainter &painter, const QRectF &area, const survey::Line &line,
                   const PlotOptions &options, std::vector<PlacedReading> *placed) {
    const auto &readings = line.ip_readings;
    std::vector<double> spacings, rho, m;
    for (const survey::IpReading &r : readings) {
        spacings.push_back(survey::sounding_spacing(r));
        rho.push_back(r.ro);
        m.push_back(survey::chargeability(r, options.channel));
    }
    std::vector<std::size_t> order(readings.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return spacings[a] < spacings[b]; });
    const double u = device_unit(painter);
    const Range s = finite_range(spacings, true);
    // Both axes reach a labelled value beyond each end of the data.
    const Axis x_axis = Axis::logarithmic_to_ticks(s.lo / 1.25, s.hi * 1.25);
    const Range r = finite_range(rho, true);
    const Range mr = finite_range(m);
    const Axis y_axes[2] = {Axis::logarithmic_to_ticks(r.lo / 1.25, r.hi * 1.25),
                            Axis(mr.lo, mr.hi + 0.05 * (mr.hi - mr.lo), false)};
    const QString y_titles[2] = {QStringLiteral("Apparent resistivity (ohm.m)"),
                                 chargeability_title(options, true)};
    const bool schlumberger = !readings.empty() && survey::level_kind(readings[0].array_code) ==
                                                       survey::LevelKind::HalfSpread;
    const QString x_title =
        schlumberger ? QStringLiteral("AB/2 (m)") : QStringLiteral("Spacing (m)");

    // The resistivity curve takes two thirds of the height, chargeability the rest.
    const QRectF outers[2] = {
        QRectF(area.left(), area.top(), area.width(), area.height() * 2 / 3),
        QRectF(area.left(), area.top() + area.height() * 2 / 3, area.width(), area.height() / 3)};
    auto make_frame = [&](int panel, const QMarginsF &at_least) {
        FrameTexts texts;
        texts.x_title = panel == 1 ? x_title : QString();
        texts.y_title = y_titles[panel];
        return PlotFrame(painter, outers[panel], x_axis, y_axes[panel], texts, false, at_least);
    };
    // A spacing lies at the same x in both panels.
    const QMarginsF column = common_columns({make_frame(0, {}), make_frame(1, {})});
    for (int panel = 0; panel < 2; ++panel) {
        const PlotFrame frame = make_frame(panel, column);
        const std::vector<double> &values = panel == 0 ? rho : m;
        frame.draw_grid(painter);
        painter.save();
        painter.setClipRect(frame.area().adjusted(-6 * u, -6 * u, 6 * u, 6 * u));
        painter.setPen(QPen(Qt::black, 1.5 * u));
        QPainterPath curve;
        for (std::size_t i : order) {
            const bool drawable =
                spacings[i] > 0 && std::isfinite(values[i]) && (panel == 1 || values[i] > 0);
            if (!drawable) continue;
            const QPointF at = frame.at(spacings[i], values[i]);
            curve.elementCount() == 0 ? curve.moveTo(at) : curve.lineTo(at);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(curve);
        for (std::size_t i : order) {
            if (!(spacings[i] > 0)) continue;
            const bool drawable = std::isfinite(values[i]) && (panel == 1 || values[i] > 0);
            // A reading without a value to plot is a hollow mark on the bottom edge.
            const QPointF at(frame.x(spacings[i]),
                             drawable ? frame.y(values[i]) : frame.area().bottom());
            draw_mark(painter, at, 3.5 * u, drawable);
            if (placed && panel == 0)
                placed->push_back({QRectF(at.x() - 5 * u, at.y() - 5 * u, 10 * u, 10 * u), i});
        }
        painter.restore();
        frame.draw_axes(painter);
    }
}

} // namespace plots
