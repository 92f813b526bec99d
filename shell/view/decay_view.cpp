#include "decay_view.h"

#include "plot_frame.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

DecayView::DecayView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DecayView"));
    setMinimumSize(260, 180);
}

void DecayView::showChannels(const std::vector<float> &channels) {
    channels_ = channels;
    update();
}

void DecayView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    if (channels_.empty()) {
        plots::draw_message(painter, rect(), tr("Click a reading to see its decay."));
        return;
    }
    std::vector<double> values(channels_.begin(), channels_.end());
    const plots::Range range = plots::finite_range(values);
    const plots::PlotFrame frame(plots::panel_area(painter, QRectF(rect()), false),
                                 plots::Axis(0.5, channels_.size() + 0.5, false),
                                 plots::Axis(range.lo - 0.08 * (range.hi - range.lo),
                                             range.hi + 0.08 * (range.hi - range.lo), false));
    frame.draw_grid(painter);
    painter.setPen(QPen(Qt::black, 1.5));
    QPainterPath path;
    for (std::size_t k = 0; k < channels_.size(); ++k) {
        if (!std::isfinite(channels_[k])) continue;
        const QPointF at = frame.at(static_cast<double>(k + 1), channels_[k]);
        path.elementCount() == 0 ? path.moveTo(at) : path.lineTo(at);
    }
    painter.drawPath(path);
    painter.setBrush(Qt::black);
    for (std::size_t k = 0; k < channels_.size(); ++k)
        if (std::isfinite(channels_[k]))
            painter.drawEllipse(frame.at(static_cast<double>(k + 1), channels_[k]), 3, 3);
    frame.draw_axes(painter, tr("Window"), tr("M (mV/V)"));
}
