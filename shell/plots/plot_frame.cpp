#include "plot_frame.h"

#include "colour_scale.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace plots {

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

PlotFrame::PlotFrame(const QRectF &area, const Axis &x, const Axis &y, bool y_down)
    : area_(area), x_(x), y_(y), y_down_(y_down) {}

double PlotFrame::x(double value) const {
    return area_.left() + x_.fraction(value) * area_.width();
}

double PlotFrame::y(double value) const {
    const double f = y_.fraction(value);
    return y_down_ ? area_.top() + f * area_.height() : area_.bottom() - f * area_.height();
}

void PlotFrame::draw_axes(QPainter &painter, const QString &x_title, const QString &y_title,
                          const std::function<QString(double)> &y_label) const {
    const double u = device_unit(painter);
    painter.save();
    painter.setFont(plot_font(painter, 8));
    const QFontMetricsF metrics(painter.font());
    painter.setPen(QPen(Qt::black, u));
    for (double t : x_.ticks()) {
        const double px = x(t);
        painter.drawLine(QPointF(px, area_.bottom()), QPointF(px, area_.bottom() + 4 * u));
        const QString label = QString::fromStdString(x_.label(t));
        painter.drawText(QRectF(px - 50 * u, area_.bottom() + 5 * u, 100 * u, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    for (double t : y_ticks()) {
        const double py = y(t);
        painter.drawLine(QPointF(area_.left() - 4 * u, py), QPointF(area_.left(), py));
        const QString label = y_label ? y_label(t) : QString::fromStdString(y_.label(t));
        painter.drawText(
            QRectF(area_.left() - 86 * u, py - metrics.height() / 2, 80 * u, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.setPen(QPen(Qt::black, u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area_);
    painter.setFont(plot_font(painter, 9));
    painter.drawText(QRectF(area_.left(), area_.bottom() + 6 * u + metrics.height(), area_.width(),
                            2 * metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, x_title);
    painter.translate(area_.left() - 92 * u, area_.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-area_.height() / 2, -2 * metrics.height(), area_.height(), 2 * metrics.height()),
        Qt::AlignHCenter | Qt::AlignBottom, y_title);
    painter.restore();
}

void PlotFrame::draw_grid(QPainter &painter) const {
    painter.save();
    painter.setPen(QPen(QColor(0, 0, 0, 40), device_unit(painter)));
    for (double t : x_.ticks())
        painter.drawLine(QPointF(x(t), area_.top()), QPointF(x(t), area_.bottom()));
    for (double t : y_ticks())
        painter.drawLine(QPointF(area_.left(), y(t)), QPointF(area_.right(), y(t)));
    painter.restore();
}

QRectF panel_area(const QPainter &painter, const QRectF &outer, bool colour_bar) {
    const double u = device_unit(painter);
    return outer.adjusted(112 * u, 8 * u, colour_bar ? -130 * u : -16 * u, -44 * u);
}

void draw_title(QPainter &painter, const QRectF &area, const QString &title) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(plot_font(painter, 11, true));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, title);
    painter.restore();
}

void draw_colour_bar(QPainter &painter, const QRectF &panel, const Axis &axis,
                     const QString &title) {
    const double u = device_unit(painter);
    const QRectF bar(panel.right() + 14 * u, panel.top(), 14 * u, panel.height());
    painter.save();
    const int steps = 64;
    for (int i = 0; i < steps; ++i) {
        const double top = bar.bottom() - (i + 1) * bar.height() / steps;
        painter.fillRect(QRectF(bar.left(), top, bar.width(), bar.height() / steps + 0.5 * u),
                         scale_colour((i + 0.5) / steps));
    }
    painter.setPen(QPen(Qt::black, u));
    painter.drawRect(bar);
    painter.setFont(plot_font(painter, 8));
    const QFontMetricsF metrics(painter.font());
    for (double t : axis.ticks()) {
        const double py = bar.bottom() - axis.fraction(t) * bar.height();
        painter.drawLine(QPointF(bar.right(), py), QPointF(bar.right() + 3 * u, py));
        painter.drawText(
            QRectF(bar.right() + 5 * u, py - metrics.height() / 2, 60 * u, metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(axis.label(t)));
    }
    painter.translate(bar.right() + 70 * u, bar.center().y());
    painter.rotate(90);
    painter.setFont(plot_font(painter, 9));
    painter.drawText(
        QRectF(-bar.height() / 2, -metrics.height() * 1.5, bar.height(), metrics.height() * 1.5),
        Qt::AlignHCenter | Qt::AlignVCenter, title);
    painter.restore();
}

void draw_message(QPainter &painter, const QRectF &area, const QString &message) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(plot_font(painter, 10));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, message);
    painter.restore();
}

} // namespace plots
