// Shows one plot item, zoomed with the mouse wheel, panned by dragging; a click picks the reading
// under the mouse.
#pragma once

#include "plot_painter.h"

#include <QPointF>
#include <QWidget>

#include <optional>

class PlotCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit PlotCanvas(QWidget *parent = nullptr);

    // Shows item of database (which must outlive the canvas's use of it) at zoom 1.
    void showPlot(const survey::Database *database, const plots::PlotItem &item,
                  const plots::PlotOptions &options);
    // Draws the shown plot anew with options (readings left out by hand, say), at the same zoom.
    void setOptions(const plots::PlotOptions &options);
    // Outlines a reading's cells (none: no outline).
    void setPicked(std::optional<std::size_t> reading);
    void clear();
    double zoom() const { return zoom_; }
    // Where the readings of the last painting were drawn, in the plot's own coordinates.
    const std::vector<plots::PlacedReading> &placedReadings() const { return placed_; }

  signals:
    // index into the plotted line's ip_readings
    void readingPicked(std::size_t index);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    // Widget position to plot position (before zoom and pan).
    QPointF toPlot(const QPointF &widget) const { return (widget - pan_) / zoom_; }

    const survey::Database *database_ = nullptr;
    std::optional<plots::PlotItem> item_;
    plots::PlotOptions options_;
    std::vector<plots::PlacedReading> placed_;
    std::optional<std::size_t> picked_;
    double zoom_ = 1.0;
    QPointF pan_;
    QPointF pressAt_;
    QPointF panAtPress_;
    bool dragged_ = false;
};
