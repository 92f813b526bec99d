#include "qc_plots.h"

#include "plot_frame.h"
#include "rules.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace plots {

namespace {

const QColor kPowerColour(190, 30, 30);
const QColor kLinearColour(20, 110, 50);

// "|e| = 0.01918 R^1.087"; "|e| = 0.0293 R - 0.01722".
QString power_text(const qc::PowerLaw &law) {
    return QStringLiteral("power law |e| = %1 R^%2").arg(law.a, 0, 'g', 4).arg(law.b, 0, 'g', 4);
}

QString linear_text(const qc::LinearLaw &law) {
    return QStringLiteral("linear law |e| = %1 R %2 %3")
        .arg(law.a, 0, 'g', 4)
        .arg(law.b < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(std::fabs(law.b), 0, 'g', 4);
}

// A sample line of a law's colour and style, then its text, one under the other below the plot.
struct LegendLine {
    QPen pen;
    FittedText text;
};

double draw_legend(QPainter &painter, const QRectF &area, const std::vector<LegendLine> &lines) {
    const double u = device_unit(painter);
    double y = area.top();
    painter.save();
    for (const LegendLine &line : lines) {
        const double middle = y + line.text.line_height / 2;
        if (line.pen.style() != Qt::NoPen) {
            painter.setPen(line.pen);
            painter.drawLine(QPointF(area.left(), middle), QPointF(area.left() + 18 * u, middle));
        }
        painter.setPen(Qt::black);
        draw_fitted(painter, line.text,
                    QRectF(area.left() + 24 * u, y, area.width() - 24 * u, line.text.height()),
                    Qt::AlignLeft);
        y += line.text.height();
    }
    painter.restore();
    return y - area.top();
}

// A round bin width: 1, 2 or 5 times a power of ten, at least span / most.
double bin_width(double span, int most) {
    const double least = span / most;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * decade >= least) return step * decade;
    return 10 * decade;
}

} // namespace

void draw_error_model(QPainter &painter, const QRectF &area, const std::vector<qc::Pair> &pairs,
                      const qc::ErrorModel &model) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double u = device_unit(painter);
    const double title = draw_title(painter, area, QStringLiteral("Error model"));
    std::vector<double> means, errors;
    for (const qc::Pair &p : pairs) {
        const double e = std::fabs(p.error());
        if (p.mean() > 0 && e > 0 && std::isfinite(e)) {
            means.push_back(p.mean());
            errors.push_back(e);
        }
    }
    const double legend_width = area.width() - 16 * u;
    std::vector<LegendLine> legend;
    QString fitted = QStringLiteral("%1 pairs").arg(model.pairs);
    if (!model.power && !model.linear)
        fitted += QStringLiteral(": no law (fewer than %1 pairs)").arg(qc::kModelPairs);
    else
        fitted += QStringLiteral(" in %1 bins").arg(model.bins);
    if (means.size() < pairs.size())
        fitted += QStringLiteral("; %1 alike to the last digit not shown")
                      .arg(pairs.size() - means.size());
    legend.push_back({QPen(Qt::NoPen), fit_text(painter, fitted, legend_width - 24 * u, 8)});
    if (model.power)
        legend.push_back({QPen(kPowerColour, 2 * u),
                          fit_text(painter, power_text(*model.power), legend_width - 24 * u, 8)});
    if (model.linear)
        legend.push_back({QPen(kLinearColour, 2 * u, Qt::DashLine),
                          fit_text(painter, linear_text(*model.linear), legend_width - 24 * u, 8)});
    double legend_height = 4 * u;
    for (const LegendLine &line : legend)
        legend_height += line.text.height();
    const QRectF plot_area = area.adjusted(0, title, 0, -legend_height);
    draw_legend(
        painter,
        QRectF(area.left() + 8 * u, plot_area.bottom() + 2 * u, legend_width, legend_height),
        legend);
    if (means.empty()) {
        draw_message(painter, plot_area, QStringLiteral("No repeats or reciprocals that differ."));
        painter.restore();
        return;
    }
    const Range r = finite_range(means, true), e = finite_range(errors, true);
    FrameTexts texts;
    texts.x_title = QStringLiteral("Mean |R| of the pair");
    texts.y_title = QStringLiteral("|e| = |R1 - R2|");
    const PlotFrame frame(painter, plot_area, Axis::logarithmic_to_ticks(r.lo, r.hi),
                          Axis::logarithmic_to_ticks(e.lo, e.hi), texts);
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    painter.setPen(QPen(QColor(40, 60, 120), u));
    painter.setBrush(QColor(120, 150, 210));
    for (std::size_t i = 0; i < means.size(); ++i)
        painter.drawEllipse(frame.at(means[i], errors[i]), 2.5 * u, 2.5 * u);
    // Each law across the axis, sampled evenly in log R; a linear law below 0 is not drawn.
    auto draw_law = [&](const QPen &pen, auto law) {
        QPainterPath path;
        bool drawing = false;
        const double lo = std::log(frame.x_axis().lo()), hi = std::log(frame.x_axis().hi());
        for (int k = 0; k <= 80; ++k) {
            const double x = std::exp(lo + (hi - lo) * k / 80.0);
            const double y = law.at(x);
            if (!(y > 0) || !std::isfinite(y)) {
                drawing = false;
                continue;
            }
            const QPointF at = frame.at(x, y);
            drawing ? path.lineTo(at) : path.moveTo(at);
            drawing = true;
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    };
    if (model.linear) draw_law(QPen(kLinearColour, 2 * u, Qt::DashLine), *model.linear);
    if (model.power) draw_law(QPen(kPowerColour, 2 * u), *model.power);
    painter.restore();
    frame.draw_axes(painter);
    painter.restore();
}

void draw_pair_errors(QPainter &painter, const QRectF &area, const std::vector<qc::Pair> &pairs) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double u = device_unit(painter);
    const double title = draw_title(painter, area, QStringLiteral("Relative pair errors"));
    const QRectF plot_area = area.adjusted(0, title, 0, 0);
    if (pairs.empty()) {
        draw_message(painter, plot_area, QStringLiteral("No repeats or reciprocals."));
        painter.restore();
        return;
    }
    const double limit = 100 * qc::kPairLimit;
    double largest = 0;
    for (const qc::Pair &p : pairs)
        if (std::isfinite(p.relative_error()))
            largest = std::max(largest, 100 * p.relative_error());
    // The limit always in view, with room beyond it.
    const double width = bin_width(std::max(largest, 1.25 * limit), 25);
    const auto bins =
        static_cast<std::size_t>(std::floor(std::max(largest, 1.25 * limit) / width)) + 1;
    std::vector<int> counts(bins, 0);
    for (const qc::Pair &p : pairs)
        if (std::isfinite(p.relative_error()))
            ++counts[std::min(bins - 1,
                              static_cast<std::size_t>(100 * p.relative_error() / width))];
    const int most = *std::max_element(counts.begin(), counts.end());
    FrameTexts texts;
    texts.x_title = QStringLiteral("|e| / mean |R| (%)");
    texts.y_title = QStringLiteral("Pairs");
    const PlotFrame frame(painter, plot_area, Axis(0, width * static_cast<double>(bins), false),
                          Axis(0, 1.1 * std::max(most, 1), false), texts);
    frame.draw_grid(painter);
    painter.save();
    painter.setClipRect(frame.area());
    painter.setPen(QPen(QColor(40, 60, 120), u));
    painter.setBrush(QColor(120, 150, 210));
    for (std::size_t k = 0; k < bins; ++k)
        if (counts[k] > 0)
            painter.drawRect(QRectF(frame.at(width * static_cast<double>(k), counts[k]),
                                    frame.at(width * static_cast<double>(k + 1), 0)));
    painter.setPen(QPen(kPowerColour, 2 * u, Qt::DashLine));
    painter.drawLine(frame.at(limit, frame.y_axis().lo()), frame.at(limit, frame.y_axis().hi()));
    painter.setFont(plot_font(painter, 8));
    painter.drawText(frame.at(limit, frame.y_axis().hi()) + QPointF(4 * u, 14 * u),
                     QStringLiteral("%1 % limit").arg(limit));
    painter.restore();
    frame.draw_axes(painter);
    painter.restore();
}

} // namespace plots
