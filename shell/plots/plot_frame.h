// The frame shared by every plot: data-to-device mapping of one panel, its axes with ticks and
// titles, the plot title and colour bars. Sizes scale with the device's resolution so that a
// plot reads the same at 96 and at 300 dpi, and the panel is laid out from the measured sizes of
// its texts, so that no label or title is cut however small the plot is drawn.
#pragma once

#include "plot_axis.h"

#include <QFont>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace plots {

// One screen pixel at 96 dpi, in the painter's device pixels.
double device_unit(const QPainter &painter);

QFont plot_font(const QPainter &painter, double points, bool bold = false);

// A text made to fit a length: its font shrunk from its size down to a floor, then wrapped onto
// more lines at spaces (a word longer than the length alone is elided).
struct FittedText {
    QFont font;
    QStringList lines;
    double line_height = 0;
    double height() const { return static_cast<double>(lines.size()) * line_height; }
};
FittedText fit_text(const QPainter &painter, const QString &text, double length, double points,
                    bool bold = false);
// The lines one under the other from box's top, each centred across box (or as across says).
void draw_fitted(QPainter &painter, const FittedText &text, const QRectF &box,
                 Qt::Alignment across = Qt::AlignHCenter);

// What a panel's frame writes around it.
struct FrameTexts {
    QString x_title, y_title;                        // an empty title takes no room
    std::function<QString(double)> x_label, y_label; // a tick's label; default: the number
    std::vector<double> x_ticks, y_ticks;            // instead of the axes' round values
    // A colour bar beside the panel, with the axis's ticks and a title (with units).
    std::optional<Axis> colour;
    QString colour_title;
};

class PlotFrame {
  public:
    // The panel inside outer, after room for the texts and at least the left and right margins
    // of at_least (so that panels stacked in one column line up). y_down: values grow downward
    // (pseudo-section levels).
    PlotFrame(const QPainter &painter, const QRectF &outer, const Axis &x, const Axis &y,
              FrameTexts texts, bool y_down = false, const QMarginsF &at_least = {});

    // The room left around the panel within outer.
    const QMarginsF &margins() const { return margins_; }

    double x(double value) const;
    double y(double value) const;
    QPointF at(double x_value, double y_value) const { return {x(x_value), y(y_value)}; }
    const QRectF &area() const { return area_; }
    const Axis &x_axis() const { return x_; }
    const Axis &y_axis() const { return y_; }

    // Light grid lines at the ticks, drawn before the data so that they never cover it.
    void draw_grid(QPainter &painter) const;

    // Frame, ticks, labels, titles and the colour bar.
    void draw_axes(QPainter &painter) const;

  private:
    std::vector<double> x_ticks() const;
    std::vector<double> y_ticks() const;
    QString x_label(double tick) const;
    QString y_label(double tick) const;
    void draw_colour_bar(QPainter &painter) const;

    Axis x_, y_;
    FrameTexts texts_;
    bool y_down_;
    QRectF area_;
    QMarginsF margins_;
    double left_band_ = 0; // left of the panel: where the y title starts
    FittedText x_title_, y_title_, colour_title_;
    double colour_label_width_ = 0;
};

// The left and right margins that make panels stacked in one column line up: the widest of
// theirs (for their at_least).
QMarginsF common_columns(const std::vector<PlotFrame> &frames);

// Draws the plot's title centred in the top of area, shrunk or wrapped to fit its width, and
// returns the height it takes.
double draw_title(QPainter &painter, const QRectF &area, const QString &title);

// A message in the middle of an area, for plots with nothing to draw.
void draw_message(QPainter &painter, const QRectF &area, const QString &message);

} // namespace plots
