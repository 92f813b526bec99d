// The frame shared by every plot: data-to-device mapping of one panel, its axes with ticks and
// titles, the plot title and colour bars. Sizes scale with the device's resolution so that a
// plot reads the same at 96 and at 300 dpi.
#pragma once

#include "plot_axis.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace plots {

// One screen pixel at 96 dpi, in the painter's device pixels.
double device_unit(const QPainter &painter);

QFont plot_font(const QPainter &painter, double points, bool bold = false);

class PlotFrame {
  public:
    // y_down: values grow downward (pseudo-section levels).
    PlotFrame(const QRectF &area, const Axis &x, const Axis &y, bool y_down = false);

    double x(double value) const;
    double y(double value) const;
    QPointF at(double x_value, double y_value) const { return {x(x_value), y(y_value)}; }
    const QRectF &area() const { return area_; }
    const Axis &x_axis() const { return x_; }
    const Axis &y_axis() const { return y_; }

    // Ticks of the y axis at these values instead of the axis's round values (pseudo-section
    // levels are each labelled).
    void set_y_ticks(std::vector<double> ticks) { y_ticks_ = std::move(ticks); }

    // Light grid lines at the ticks, drawn before the data so that they never cover it.
    void draw_grid(QPainter &painter) const;

    // Frame, ticks and labels. y_label turns a y tick into its label (default: the number).
    void draw_axes(QPainter &painter, const QString &x_title, const QString &y_title,
                   const std::function<QString(double)> &y_label = {}) const;

  private:
    QRectF area_;
    std::vector<double> y_ticks() const { return y_ticks_.empty() ? y_.ticks() : y_ticks_; }

    Axis x_, y_;
    bool y_down_;
    std::vector<double> y_ticks_;
};

// The inner rectangle left for a panel's data after room for its axis labels.
QRectF panel_area(const QPainter &painter, const QRectF &outer, bool colour_bar);

void draw_title(QPainter &painter, const QRectF &area, const QString &title);

// A vertical colour bar beside a panel, with the axis's ticks and a title (with units).
void draw_colour_bar(QPainter &painter, const QRectF &panel, const Axis &axis,
                     const QString &title);

// A message in the middle of an area, for plots with nothing to draw.
void draw_message(QPainter &painter, const QRectF &area, const QString &message);

} // namespace plots
