#include "live_dump_view.h"

#include "live_dump.h"
#include "page_parts.h"
#include "plot_items.h"
#include "plot_painter.h"
#include "view/plot_picture.h"

#include <QLabel>
#include <QVBoxLayout>

#include <memory>

namespace ravelin {

namespace {

// The line being received as a database of its own, with its survey's name, for the plots.
survey::Database oneLine(const LiveDump::Snapshot &snap) {
    survey::Database db;
    survey::Survey &s = db.surveys.emplace_back();
    s.has_header = !snap.survey_name.empty();
    s.header.name = snap.survey_name;
    s.lines.push_back(*snap.line);
    return db;
}

} // namespace

LiveDumpView::LiveDumpView(QWidget *parent) : QWidget(parent) {
    counts_ = named(new QLabel, "LiveCounts");
    line_ = named(new QLabel, "LiveLine");
    plot_ = named(new PlotPicture, "LivePlot");
    plot_->setMinimumSize(360, 180);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(counts_);
    layout->addWidget(line_);
    layout->addWidget(plot_, 1);
    timer_.setInterval(refreshMs);
    connect(&timer_, &QTimer::timeout, this, &LiveDumpView::refresh);
}

void LiveDumpView::follow(const LiveDump *live) {
    live_ = live;
    ending_ = false;
    drawn_.reset();
    counts_->clear();
    line_->clear();
    plot_->show({});
    timer_.setInterval(refreshMs);
    refresh();
    timer_.start();
}

void LiveDumpView::stopFollowing() {
    ending_ = true;
    timer_.setInterval(endingRefreshMs);
    refresh();
}

void LiveDumpView::refresh() {
    if (!live_) return;
    // The plot is drawn again only when the model has changed, not while the instrument pauses.
    const LiveDump::Snapshot snap = live_->snapshot();
    const Drawn now{snap.bytes_read, !snap.stop_reason.empty(), snap.finished};
    if (now == drawn_) return;
    drawn_ = now;
    if (ending_ && snap.finished) {
        timer_.stop();
        live_ = nullptr;
    }
    display(snap);
}

void LiveDumpView::display(const LiveDump::Snapshot &snap) {
    counts_->setText(QString::fromStdString(liveCountLine(snap.counts)));
    std::shared_ptr<const survey::Database> db;
    QString where;
    if (snap.line) {
        db = std::make_shared<const survey::Database>(oneLine(snap));
        where = QString::fromStdString(
            liveLineTitle(snap.survey_number, db->surveys[0], snap.line_number, *snap.line));
    }
    if (!snap.stop_reason.empty())
        where += (where.isEmpty() ? "" : "\n") + QString::fromStdString(snap.stop_reason);
    line_->setText(where);
    if (!db) return;
    const std::vector<plots::PlotItem> items = plots::plot_items(*db);
    if (items.empty()) return;
    plot_->show([db, item = items.front()](QPainter &painter, const QRectF &area) {
        plots::draw_plot(painter, area, *db, item, {});
    });
}

} // namespace ravelin
