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
    // A tick at each window.
    std::vector<double> windows;
    for (std::size_t k = 1; k <= channels_.size(); ++k)
        windows.push_back(static_cast<double>(k));
    plots::FrameTexts texts;
    texts.x_title = tr("Window");
    texts.y_title = tr("M (mV/V)");
    texts.x_label = [](double k) { return QString::number(k); };
    texts.x_ticks = std::move(windows);
    const plots::PlotFrame frame(painter, QRectF(rect()),
                                 plots::Axis(0.5, channels_.size() + 0.5, false),
                                 plots::Axis(range.lo - 0.08 * (range.hi - range.lo),
                                             range.hi + 0.08 * (range.hi - range.lo), false),
                                 texts);
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
    frame.draw_axes(painter);
}
