#include "plot_frame.h"

#include "colour_scale.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plots {

namespace {

constexpr double kLabelPoints = 8, kTitlePoints = 9, kSmallestPoints = 7;

QFontMetricsF metrics_of(const QPainter &painter, const QFont &font) {
    return painter.device() ? QFontMetricsF(font, painter.device()) : QFontMetricsF(font);
}

} // namespace

double device_unit(const QPainter &painter) {
    return painter.device() ? painter.device()->logicalDpiY() / 96.0 : 1.0;
}

QFont plot_font(const QPainter &painter, double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    // Pixel sizes from the device's resolution, so text keeps its physical size everywhere.
    font.setPixelSize(std::max(1, static_cast<int>(points * device_unit(painter) * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

FittedText fit_text(const QPainter &painter, const QString &text, double length, double points,
                    bool bold) {
    FittedText fitted;
    if (text.isEmpty()) return fitted;
    const double smallest = std::min(points, bold ? kSmallestPoints + 1 : kSmallestPoints);
    for (double p = points; p >= smallest - 1e-9; p -= 0.5) {
        fitted.font = plot_font(painter, p, bold);
        const QFontMetricsF metrics = metrics_of(painter, fitted.font);
        fitted.line_height = metrics.height();
        if (metrics.horizontalAdvance(text) <= length) {
            fitted.lines = {text};
            return fitted;
        }
    }
    // At the smallest size: as many words on a line as fit.
    const QFontMetricsF metrics = metrics_of(painter, fitted.font);
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || metrics.horizontalAdvance(longer) <= length) {
            line = longer;
            continue;
        }
        fitted.lines << line;
        line = word;
    }
    fitted.lines << line;
    for (QString &l : fitted.lines)
        if (metrics.horizontalAdvance(l) > length)
            l = metrics.elidedText(l, Qt::ElideRight, std::max(0.0, length));
    return fitted;
}

void draw_fitted(QPainter &painter, const FittedText &text, const QRectF &box,
                 Qt::Alignment across) {
    painter.save();
    painter.setFont(text.font);
    for (qsizetype i = 0; i < text.lines.size(); ++i)
        painter.drawText(QRectF(box.left(), box.top() + static_cast<double>(i) * text.line_height,
                                box.width(), text.line_height),
                         across | Qt::AlignVCenter | Qt::TextDontClip, text.lines[i]);
    painter.restore();
}

PlotFrame::PlotFrame(const QPainter &painter, const QRectF &outer, const Axis &x, const Axis &y,
                     FrameTexts texts, bool y_down, const QMarginsF &at_least)
    : x_(x), y_(y), texts_(std::move(texts)), y_down_(y_down) {
    const double u = device_unit(painter);
    const QFontMetricsF labels = metrics_of(painter, plot_font(painter, kLabelPoints));
    const double label_h = labels.height();
    double y_label_width = 0;
    for (double t : y_ticks())
        y_label_width = std::max(y_label_width, labels.horizontalAdvance(y_label(t)));
    const std::vector<double> xt = x_ticks();
    const double x_first = xt.empty() ? 0 : labels.horizontalAdvance(x_label(xt.front()));
    const double x_last = xt.empty() ? 0 : labels.horizontalAdvance(x_label(xt.back()));
    if (texts_.colour)
        for (double t : texts_.colour->ticks())
            colour_label_width_ =
                std::max(colour_label_width_,
                         labels.horizontalAdvance(QString::fromStdString(texts_.colour->label(t))));
    // The titles' lengths depend on the panel's size and the panel's on the titles' heights: a
    // few rounds settle them.
    area_ = outer.adjusted(60 * u, 8 * u, texts_.colour ? -80 * u : -16 * u, -40 * u);
    for (int round = 0; round < 3; ++round) {
        x_title_ = fit_text(painter, texts_.x_title, area_.width() - 2 * u, kTitlePoints);
        y_title_ = fit_text(painter, texts_.y_title, area_.height() - 2 * u, kTitlePoints);
        colour_title_ =
            fit_text(painter, texts_.colour_title, area_.height() - 2 * u, kTitlePoints);
        left_band_ = 4 * u + y_title_.height() + (y_title_.lines.isEmpty() ? 0 : 4 * u);
        const double left =
            std::max({left_band_ + y_label_width + 6 * u, x_first / 2 + 4 * u, at_least.left()});
        const double right = std::max(texts_.colour ? 28 * u + 5 * u + colour_label_width_ + 6 * u +
                                                          colour_title_.height() + 4 * u
                                                    : std::max(12 * u, x_last / 2 + 4 * u),
                                      at_least.right());
        const double top = std::max(8 * u, label_h / 2 + 2 * u);
        const double bottom =
            5 * u + label_h + (x_title_.lines.isEmpty() ? 0 : 2 * u + x_title_.height()) + 4 * u;
        margins_ = QMarginsF(left, top, right, bottom);
        area_ = outer.marginsRemoved(margins_);
        if (area_.width() < 10 * u) area_.setWidth(10 * u);
        if (area_.height() < 10 * u) area_.setHeight(10 * u);
    }
    left_band_ = area_.left() - (outer.left() + 4 * u);
}

std::vector<double> PlotFrame::x_ticks() const {
    return texts_.x_ticks.empty() ? x_.ticks() : texts_.x_ticks;
}

std::vector<double> PlotFrame::y_ticks() const {
    return texts_.y_ticks.empty() ? y_.ticks() : texts_.y_ticks;
}

QString PlotFrame::x_label(double tick) const {
    return texts_.x_label ? texts_.x_label(tick) : QString::fromStdString(x_.label(tick));
}

QString PlotFrame::y_label(double tick) const {
    return texts_.y_label ? texts_.y_label(tick) : QString::fromStdString(y_.label(tick));
}

double PlotFrame::x(double value) const {
    return area_.left() + x_.fraction(value) * area_.width();
}

double PlotFrame::y(double value) const {
    const double f = y_.fraction(value);
    return y_down_ ? area_.top() + f * area_.height() : area_.bottom() - f * area_.height();
}

void PlotFrame::draw_axes(QPainter &painter) const {
    const double u = device_unit(painter);
    painter.save();
    painter.setFont(plot_font(painter, kLabelPoints));
    const QFontMetricsF metrics = metrics_of(painter, painter.font());
    const double label_h = metrics.height();
    painter.setPen(QPen(Qt::black, u));
    // A label that would run into the one before it is left out (its tick stays).
    double free_from = -INFINITY;
    for (double t : x_ticks()) {
        const double px = x(t);
        painter.drawLine(QPointF(px, area_.bottom()), QPointF(px, area_.bottom() + 4 * u));
        const QString label = x_label(t);
        const double w = metrics.horizontalAdvance(label);
        if (px - w / 2 < free_from) continue;
        painter.drawText(QRectF(px - w / 2 - u, area_.bottom() + 5 * u, w + 2 * u, label_h),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, label);
        free_from = px + w / 2 + 4 * u;
    }
    free_from = -INFINITY;
    std::vector<double> yt = y_ticks();
    std::sort(yt.begin(), yt.end(), [&](double a, double b) { return y(a) < y(b); });
    for (double t : yt) {
        const double py = y(t);
        painter.drawLine(QPointF(area_.left() - 4 * u, py), QPointF(area_.left(), py));
        if (py - label_h / 2 < free_from) continue;
        painter.drawText(
            QRectF(area_.left() - left_band_, py - label_h / 2, left_band_ - 6 * u, label_h),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, y_label(t));
        free_from = py + label_h / 2;
    }
    for (double t : x_.minor_ticks())
        painter.drawLine(QPointF(x(t), area_.bottom()), QPointF(x(t), area_.bottom() + 2 * u));
    for (double t : y_.minor_ticks())
        painter.drawLine(QPointF(area_.left() - 2 * u, y(t)), QPointF(area_.left(), y(t)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area_);
    draw_fitted(
        painter, x_title_,
        QRectF(area_.left(), area_.bottom() + 7 * u + label_h, area_.width(), x_title_.height()));
    // Rotated a quarter turn to the left, the title reads upward at the left edge.
    painter.save();
    painter.translate(area_.left() - left_band_, area_.center().y());
    painter.rotate(-90);
    draw_fitted(painter, y_title_,
                QRectF(-area_.height() / 2, 0, area_.height(), y_title_.height()));
    painter.restore();
    if (texts_.colour) draw_colour_bar(painter);
    painter.restore();
}

void PlotFrame::draw_grid(QPainter &painter) const {
    painter.save();
    painter.setPen(QPen(QColor(0, 0, 0, 40), device_unit(painter)));
    for (double t : x_ticks())
        painter.drawLine(QPointF(x(t), area_.top()), QPointF(x(t), area_.bottom()));
    for (double t : y_ticks())
        painter.drawLine(QPointF(area_.left(), y(t)), QPointF(area_.right(), y(t)));
    painter.restore();
}

void PlotFrame::draw_colour_bar(QPainter &painter) const {
    const Axis &axis = *texts_.colour;
    const double u = device_unit(painter);
    const QRectF bar(area_.right() + 14 * u, area_.top(), 14 * u, area_.height());
    painter.save();
    const int steps = 64;
    for (int i = 0; i < steps; ++i) {
        const double top = bar.bottom() - (i + 1) * bar.height() / steps;
        painter.fillRect(QRectF(bar.left(), top, bar.width(), bar.height() / steps + 0.5 * u),
                         scale_colour((i + 0.5) / steps));
    }
    painter.setPen(QPen(Qt::black, u));
    painter.drawRect(bar);
    painter.setFont(plot_font(painter, kLabelPoints));
    const double label_h = metrics_of(painter, painter.font()).height();
    for (double t : axis.minor_ticks()) {
        const double py = bar.bottom() - axis.fraction(t) * bar.height();
        painter.drawLine(QPointF(bar.right(), py), QPointF(bar.right() + 2 * u, py));
    }
    double free_from = INFINITY; // labels upward from the bottom
    for (double t : axis.ticks()) {
        const double py = bar.bottom() - axis.fraction(t) * bar.height();
        painter.drawLine(QPointF(bar.right(), py), QPointF(bar.right() + 3 * u, py));
        if (py + label_h / 2 > free_from) continue;
        painter.drawText(
            QRectF(bar.right() + 5 * u, py - label_h / 2, colour_label_width_ + u, label_h),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
            QString::fromStdString(axis.label(t)));
        free_from = py - label_h / 2;
    }
    // Rotated a quarter turn to the right, the title reads downward at the right edge.
    painter.translate(bar.right() + 5 * u + colour_label_width_ + 6 * u + colour_title_.height(),
                      bar.center().y());
    painter.rotate(90);
    draw_fitted(painter, colour_title_,
                QRectF(-bar.height() / 2, 0, bar.height(), colour_title_.height()));
    painter.restore();
}

QMarginsF common_columns(const std::vector<PlotFrame> &frames) {
    QMarginsF widest;
    for (const PlotFrame &frame : frames) {
        widest.setLeft(std::max(widest.left(), frame.margins().left()));
        widest.setRight(std::max(widest.right(), frame.margins().right()));
    }
    return widest;
}

double draw_title(QPainter &painter, const QRectF &area, const QString &title) {
    const double u = device_unit(painter);
    const FittedText fitted = fit_text(painter, title, area.width() - 8 * u, 11, true);
    const double height = std::max(30 * u, fitted.height() + 10 * u);
    painter.save();
    painter.setPen(Qt::black);
    draw_fitted(painter, fitted,
                QRectF(area.left(), area.top() + (height - fitted.height()) / 2, area.width(),
                       fitted.height()));
    painter.restore();
    return height;
}

void draw_message(QPainter &painter, const QRectF &area, const QString &message) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(plot_font(painter, 10));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, message);
    painter.restore();
}

} // namespace plots
