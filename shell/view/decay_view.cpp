#include "decay_view.h"

#include "plot_frame.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The values of a curve joined in window order, with a dot at each where dots.
template <typename Value>
void draw_curve(QPainter &painter, const plots::PlotFrame &frame, const std::vector<Value> &values,
                const QPen &pen, bool dots) {
    QPainterPath path;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (!std::isfinite(values[k])) continue;
        const QPointF at = frame.at(static_cast<double>(k + 1), values[k]);
        path.elementCount() == 0 ? path.moveTo(at) : path.lineTo(at);
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    if (!dots) return;
    painter.setBrush(pen.color());
    for (std::size_t k = 0; k < values.size(); ++k)
        if (std::isfinite(values[k]))
            painter.drawEllipse(frame.at(static_cast<double>(k + 1), values[k]), 3, 3);
}

} // namespace

DecayView::DecayView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DecayView"));
    setMinimumSize(260, 180);
}

void DecayView::showChannels(const std::vector<float> &channels, const std::vector<double> &master,
                             const std::vector<float> &pair) {
    channels_ = channels;
    master_ = master;
    pair_ = pair;
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
    const QPen own(Qt::black, 1.5), master(QColor(190, 30, 30), 1.5, Qt::DashLine),
        pair(QColor(40, 90, 200), 1.5, Qt::DotLine);
    // A legend line under the plot for each curve beyond the reading's own.
    QStringList legend;
    if (!master_.empty()) legend << tr("dashed: its dipole's master curve");
    if (!pair_.empty()) legend << tr("dotted: its repeat or reciprocal");
    const plots::FittedText legend_text =
        plots::fit_text(painter, legend.join(QStringLiteral("; ")), width() - 8, 8);
    const QRectF plot_area = QRectF(rect()).adjusted(0, 0, 0, -legend_text.height());

    std::vector<double> values(channels_.begin(), channels_.end());
    values.insert(values.end(), master_.begin(), master_.end());
    values.insert(values.end(), pair_.begin(), pair_.end());
    const plots::Range range = plots::finite_range(values);
    const std::size_t windows = std::max({channels_.size(), master_.size(), pair_.size()});
    // A tick at each window.
    std::vector<double> ticks;
    for (std::size_t k = 1; k <= windows; ++k)
        ticks.push_back(static_cast<double>(k));
    plots::FrameTexts texts;
    texts.x_title = tr("Window");
    texts.y_title = tr("M (mV/V)");
    texts.x_label = [](double k) { return QString::number(k); };
    texts.x_ticks = std::move(ticks);
    const plots::PlotFrame frame(painter, plot_area,
                                 plots::Axis(0.5, static_cast<double>(windows) + 0.5, false),
                                 plots::Axis(range.lo - 0.08 * (range.hi - range.lo),
                                             range.hi + 0.08 * (range.hi - range.lo), false),
                                 texts);
    frame.draw_grid(painter);
    draw_curve(painter, frame, master_, master, false);
    draw_curve(painter, frame, pair_, pair, true);
    draw_curve(painter, frame, channels_, own, true);
    frame.draw_axes(painter);
    painter.setPen(Qt::black);
    plots::draw_fitted(painter, legend_text,
                       QRectF(4, plot_area.bottom(), width() - 8, legend_text.height()));
}
