#include "plot_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

PlotCanvas::PlotCanvas(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlotCanvas"));
    setMinimumSize(480, 320);
    setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::ClickFocus); // keys act on the picked reading
}

void PlotCanvas::showPlot(const survey::Database *database, const plots::PlotItem &item,
                          const plots::PlotOptions &options) {
    database_ = database;
    item_ = item;
    options_ = options;
    picked_.reset();
    zoom_ = 1.0;
    pan_ = {};
    update();
}

void PlotCanvas::setOptions(const plots::PlotOptions &options) {
    options_ = options;
    update();
}

void PlotCanvas::setPicked(std::optional<std::size_t> reading) {
    picked_ = reading;
    update();
}

void PlotCanvas::clear() {
    database_ = nullptr;
    picked_.reset();
    item_.reset();
    placed_.clear();
    update();
}

void PlotCanvas::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    placed_.clear();
    if (!database_ || !item_) return;
    painter.translate(pan_);
    painter.scale(zoom_, zoom_);
    plots::draw_plot(painter, QRectF(rect()), *database_, *item_, options_, &placed_);
    if (!picked_) return;
    painter.setPen(QPen(QColor(230, 0, 200), 2.5 / zoom_));
    painter.setBrush(Qt::NoBrush);
    for (const plots::PlacedReading &placed : placed_)
        if (placed.reading == *picked_) painter.drawRect(placed.mark);
}

void PlotCanvas::wheelEvent(QWheelEvent *event) {
    // Zoom about the point under the mouse, so it stays where it is.
    const QPointF at = event->position();
    const QPointF plotAt = toPlot(at);
    const double factor = event->angleDelta().y() > 0 ? 1.25 : 0.8;
    zoom_ = std::clamp(zoom_ * factor, 1.0, 40.0);
    pan_ = zoom_ == 1.0 ? QPointF() : at - plotAt * zoom_;
    update();
    event->accept();
}

void PlotCanvas::mousePressEvent(QMouseEvent *event) {
    pressAt_ = event->position();
    panAtPress_ = pan_;
    dragged_ = false;
}

void PlotCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPointF moved = event->position() - pressAt_;
    if (moved.manhattanLength() > 3) dragged_ = true;
    if (dragged_ && zoom_ > 1.0) {
        pan_ = panAtPress_ + moved;
        update();
    }
}

void PlotCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (dragged_) return;
    const QPointF at = toPlot(event->position());
    // The last drawn is the one seen where cells overlap (a reciprocal over its reading).
    for (auto placed = placed_.rbegin(); placed != placed_.rend(); ++placed)
        if (placed->mark.contains(at)) {
            emit readingPicked(placed->reading);
            return;
        }
}
