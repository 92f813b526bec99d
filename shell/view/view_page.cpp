#include "view_page.h"

#include "decay_view.h"
#include "gravity_reduction_view.h"
#include "plot_canvas.h"
#include "plot_output.h"
#include "qc_view.h"
#include "reading_text.h"
#include "reduced_gravity_plot.h"
#include "survey_reader.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>

ViewPage::ViewPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ViewTab"));
    auto *open = new QPushButton(QStringLiteral("OPEN .TVD"), this);
    open->setObjectName(QStringLiteral("OPENTVD"));
    save_ = new QPushButton(tr("Save as PNG/PDF"), this);
    save_->setObjectName(QStringLiteral("SAVEPLOTS"));
    save_->setEnabled(false);
    export_ = new QPushButton(tr("Export..."), this);
    export_->setObjectName(QStringLiteral("EXPORT"));
    export_->setEnabled(false);
    channel_ = new QComboBox(this);
    channel_->setObjectName(QStringLiteral("ChannelChoice"));
    channel_->setToolTip(tr("Chargeability shown in pseudo-sections and sounding curves"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("PlotList"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ViewStatus"));
    status_->setWordWrap(true);
    readingValues_ = new QLabel(this);
    readingValues_->setObjectName(QStringLiteral("ReadingValues"));
    readingValues_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    decay_ = new DecayView(this);
    canvas_ = new PlotCanvas(this);
    qc_ = new QcView(this);
    qcButton_ = new QPushButton(tr("Quality control"), this);
    qcButton_->setObjectName(QStringLiteral("QualityControl"));
    qcButton_->setToolTip(tr("Error model, pair errors and readings left out by hand"));
    qcButton_->setCheckable(true);
    qcButton_->setEnabled(false);
    gravity_ = new GravityReductionView(this);

    auto *side = new QVBoxLayout;
    side->addWidget(open);
    side->addWidget(list_, 2);
    side->addWidget(channel_);
    side->addWidget(qcButton_);
    side->addWidget(save_);
    side->addWidget(export_);
    side->addWidget(gravity_, 1);
    side->addWidget(readingValues_);
    side->addWidget(decay_, 1);
    auto *main = new QVBoxLayout;
    shown_ = new QStackedLayout;
    shown_->addWidget(canvas_);
    shown_->addWidget(qc_);
    main->addLayout(shown_, 1);
    main->addWidget(status_);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(side, 1);
    layout->addLayout(main, 3);

    connect(open, &QPushButton::clicked, this, &ViewPage::chooseDatabase);
    connect(save_, &QPushButton::clicked, this, &ViewPage::chooseSaveFile);
    connect(export_, &QPushButton::clicked, this, &ViewPage::chooseExport);
    connect(list_, &QListWidget::currentRowChanged, this, &ViewPage::showItem);
    connect(canvas_, &PlotCanvas::readingPicked, this, &ViewPage::showReading);
    connect(qcButton_, &QPushButton::toggled, this, [this] { showItem(list_->currentRow()); });
    connect(qc_, &QcView::exclusionsChanged, this, [this] { options_.excluded = qc_->excluded(); });
    connect(gravity_, &GravityReductionView::reduced, this,
            [this] { showItem(list_->currentRow()); });
    connect(channel_, &QComboBox::currentIndexChanged, this, [this](int index) {
        options_.channel = index - 1; // the first choice is the mean
        showItem(list_->currentRow());
    });
    fillChannelChoice();
}

bool ViewPage::openDatabase(const QString &path) {
    survey::LoadResult loaded = survey::load_database(path.toStdString());
    canvas_->clear();
    list_->clear();
    readingValues_->clear();
    decay_->showChannels({});
    path_ = path;
    database_ = std::move(loaded.database);
    items_ = plots::plot_items(database_);
    const std::vector<std::string> &unreadable = qc_->openDatabase(&database_, path);
    options_.excluded = qc_->excluded();
    gravity_->reduce(database_);
    options_.reduction = gravity_->reduction();
    if (options_.reduction) {
        const std::vector<plots::PlotItem> reduced =
            plots::reduced_gravity_items(*options_.reduction);
        items_.insert(items_.end(), reduced.begin(), reduced.end());
    }
    QString status = QFileInfo(path).fileName() + QStringLiteral(": ");
    stopReason_ = loaded.complete() ? "" : survey::stop_reason(loaded);
    if (loaded.stop == survey::LoadStop::CannotOpen) {
        status_->setText(QString::fromStdString(survey::stop_reason(loaded)));
        save_->setEnabled(false);
        export_->setEnabled(false);
        return false;
    }
    export_->setEnabled(true);
    if (items_.empty())
        status += tr("nothing to plot (no IP or gravity readings).");
    else
        status += items_.size() == 1 ? tr("1 plot.") : tr("%1 plots.").arg(items_.size());
    if (!loaded.complete())
        status += QStringLiteral(" ") + QString::fromStdString(survey::stop_reason(loaded)) +
                  tr(" What was read before is shown.");
    for (const std::string &error : unreadable)
        status += QStringLiteral(" ") + QString::fromStdString(error) + QLatin1Char('.');
    status_->setText(status);
    fillChannelChoice();
    for (const plots::PlotItem &item : items_)
        list_->addItem(QString::fromStdString(item.title));
    save_->setEnabled(!items_.empty());
    if (!items_.empty()) list_->setCurrentRow(0);
    return true;
}

bool ViewPage::savePlots(const QString &path) {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= items_.size()) return false;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return plots::write_pdf(path, database_, items_, options_);
    return plots::write_png(path, database_, items_[static_cast<std::size_t>(row)], options_);
}

void ViewPage::chooseDatabase() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open a converted database"), QFileInfo(path_).path(),
                                     tr("Converted databases (*.tvd)"));
    if (!path.isEmpty()) openDatabase(path);
}

void ViewPage::chooseSaveFile() {
    const QString pdfFilter = tr("PDF of every plot (*.pdf)");
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save plots"), QFileInfo(path_).path(),
        tr("PNG image of this plot (*.png)") + QStringLiteral(";;") + pdfFilter, &filter);
    if (path.isEmpty()) return;
    // A name typed without its suffix gets the one of the chosen kind.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("png") && suffix != QStringLiteral("pdf"))
        path += filter == pdfFilter ? QStringLiteral(".pdf") : QStringLiteral(".png");
    if (!savePlots(path))
        status_->setText(tr("Cannot write %1.").arg(path));
    else
        status_->setText(tr("Wrote %1.").arg(path));
}

bool ViewPage::exportDatabase(exports::Format format, std::optional<double> utc_offset_hours) {
    exports::ExportOptions options;
    options.format = format;
    options.utc_offset_hours = utc_offset_hours;
    const exports::ExportOutcome outcome =
        exports::export_read(database_, stopReason_, path_.toStdString(), options);
    status_->setText(exportReport(outcome));
    return outcome.ok();
}

void ViewPage::chooseExport() {
    QMenu menu(this);
    for (const ExportChoice &choice : exportChoices()) {
        connect(menu.addAction(choice.label), &QAction::triggered, this, [this, choice] {
            std::optional<double> offset;
            if (choice.in_utc) {
                // The survey header's time zone is the likely answer.
                const double recorded = database_.surveys.empty()
                                            ? 0.0
                                            : database_.surveys[0].header.utc_offset_ms / 3.6e6;
                bool ok = false;
                offset = QInputDialog::getDouble(this, tr("Gravity CSV in UTC"),
                                                 tr("The meter's time zone, in hours east of UTC:"),
                                                 recorded, -14, 14, 2, &ok);
                if (!ok) return;
            }
            exportDatabase(choice.format, offset);
        });
    }
    menu.exec(export_->mapToGlobal(QPoint(0, export_->height())));
}

void ViewPage::showItem(int row) {
    readingValues_->clear();
    decay_->showChannels({});
    if (row < 0 || static_cast<std::size_t>(row) >= items_.size()) {
        canvas_->clear();
        shown_->setCurrentWidget(canvas_);
        return;
    }
    const plots::PlotItem &item = items_[static_cast<std::size_t>(row)];
    const bool profile = item.kind == plots::PlotKind::PseudoSection;
    qcButton_->setEnabled(profile);
    const bool qc = profile && qcButton_->isChecked();
    readingValues_->setVisible(!qc);
    decay_->setVisible(!qc);
    shown_->setCurrentWidget(qc ? static_cast<QWidget *>(qc_) : canvas_);
    if (qc)
        qc_->showProfile(item, options_);
    else
        canvas_->showPlot(&database_, item, options_);
}

void ViewPage::fillChannelChoice() {
    std::size_t channels = 0;
    for (const survey::Survey &s : database_.surveys)
        for (const survey::Line &line : s.lines)
            for (const survey::IpReading &r : line.ip_readings)
                channels = std::max(channels, r.m.size());
    const QSignalBlocker quiet(channel_);
    channel_->clear();
    channel_->addItem(tr("Chargeability: mean of M channels"));
    for (std::size_t k = 1; k <= channels; ++k)
        channel_->addItem(tr("Chargeability: M%1").arg(k));
    options_.channel = -1;
}

void ViewPage::showReading(std::size_t index) {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= items_.size()) return;
    const plots::PlotItem &item = items_[static_cast<std::size_t>(row)];
    const survey::Line &line = database_.surveys[item.survey].lines[item.line];
    if (index >= line.ip_readings.size()) return;
    const survey::IpReading &r = line.ip_readings[index];
    canvas_->setPicked(index);
    readingValues_->setText(readingValuesText(r));
    decay_->showChannels(r.m);
}
