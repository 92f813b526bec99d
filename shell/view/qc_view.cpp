#include "qc_view.h"

#include "decay_view.h"
#include "electrode_layout.h"
#include "plot_canvas.h"
#include "plot_picture.h"
#include "profile_counts.h"
#include "qc_plots.h"
#include "reading_text.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString position(const std::optional<double> &x) {
    return x ? QString::number(*x, 'g', 10) : QStringLiteral("remote");
}

QString electrodes(const survey::IpReading &reading) {
    const survey::ElectrodeLayout e = survey::electrode_layout(reading);
    return QStringLiteral("A %1  B %2  M %3  N %4")
        .arg(position(e.a), position(e.b), position(e.m), position(e.n));
}

// "stdev, decay": the rules a reading falls under.
QString rule_names(qc::Rules rules) {
    QStringList names;
    for (qc::Rule rule : qc::kRules)
        if (rules & qc::bit(rule)) names << QString::fromUtf8(qc::rule_name(rule).data());
    return names.join(QStringLiteral(", "));
}

QString source_text(qc::ErrorSource source) {
    switch (source) {
    case qc::ErrorSource::Pair:
        return QStringLiteral("from its pair");
    case qc::ErrorSource::Model:
        return QStringLiteral("from the error model");
    case qc::ErrorSource::Floor:
        return QStringLiteral("the Stdev floor");
    case qc::ErrorSource::None:
        break;
    }
    return QStringLiteral("none: not usable");
}

} // namespace

QcView::QcView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("QcView"));
    model_ = new PlotPicture(this);
    model_->setObjectName(QStringLiteral("ErrorModelPlot"));
    histogram_ = new PlotPicture(this);
    histogram_->setObjectName(QStringLiteral("PairErrorPlot"));
    section_ = new PlotCanvas(this);
    section_->setObjectName(QStringLiteral("QcSection"));
    section_->setMinimumSize(320, 240);
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("QcCounts"));
    counts_->setWordWrap(true);
    details_ = new QLabel(this);
    details_->setObjectName(QStringLiteral("QcReading"));
    details_->setWordWrap(true);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    decay_ = new DecayView(this);
    exclude_ = new QPushButton(tr("Exclude (Delete)"), this);
    exclude_->setObjectName(QStringLiteral("ExcludeReading"));
    undo_ = new QPushButton(tr("Undo (Ctrl+Z)"), this);
    undo_->setObjectName(QStringLiteral("UndoExclusion"));

    auto *charts = new QHBoxLayout;
    charts->addWidget(model_);
    charts->addWidget(histogram_);
    auto *left = new QVBoxLayout;
    left->addLayout(charts, 2);
    left->addWidget(section_, 3);
    left->addWidget(counts_);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(exclude_);
    buttons->addWidget(undo_);
    auto *right = new QVBoxLayout;
    right->addWidget(details_);
    right->addWidget(decay_, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);

    connect(section_, &PlotCanvas::readingPicked, this, &QcView::pickReading);
    connect(exclude_, &QPushButton::clicked, this, &QcView::toggleExclusion);
    connect(undo_, &QPushButton::clicked, this, &QcView::undoExclusion);
    refresh();
}

const std::vector<std::string> &QcView::openDatabase(const survey::Database *database,
                                                     const QString &path) {
    database_ = database;
    checked_.reset();
    picked_.reset();
    section_->clear();
    model_->show({});
    histogram_->show({});
    return edits_.open(database, path.toStdString());
}

void QcView::showProfile(const plots::PlotItem &item, const plots::PlotOptions &options) {
    if (!database_) return;
    // The whole database at once, as the exports check it: a survey's model may take the pairs
    // of every profile.
    if (!checked_) checked_ = qc::check_database(*database_, {});
    item_ = item;
    options_ = options;
    options_.excluded = edits_.lines();
    picked_.reset();
    section_->showPlot(database_, item_, options_);
    const qc::ProfileQc *checked = profile();
    static const std::vector<qc::Pair> no_pairs;
    static const qc::ErrorModel no_model;
    const std::vector<qc::Pair> &pairs = checked ? checked->pairs : no_pairs;
    const qc::ErrorModel &model = checked ? *checked->model : no_model;
    model_->show([&pairs, &model](QPainter &painter, const QRectF &area) {
        plots::draw_error_model(painter, area, pairs, model);
    });
    histogram_->show([&pairs](QPainter &painter, const QRectF &area) {
        plots::draw_pair_errors(painter, area, pairs);
    });
    refresh();
}

const qc::ProfileQc *QcView::profile() const {
    if (!checked_) return nullptr;
    for (const qc::ProfileQc &p : checked_->profiles)
        if (p.survey == item_.survey && p.line == item_.line) return &p;
    return nullptr;
}

void QcView::pickReading(std::size_t index) {
    picked_ = index;
    section_->setPicked(index);
    section_->setFocus();
    showDetails();
}

void QcView::toggleExclusion() {
    const qc::ProfileQc *checked = profile();
    if (!picked_ || !checked) return;
    const qc::Rules flags = checked->flags[*picked_];
    const QString reason = flags ? QStringLiteral("flagged: ") + rule_names(flags)
                                 : QStringLiteral("left out on the View page");
    if (!edits_.toggle(item_.survey, item_.line, *picked_, reason.toStdString())) {
        counts_->setText(tr("Cannot write %1.").arg(QString::fromStdString(edits_.path())));
        return;
    }
    refresh();
    emit exclusionsChanged();
}

void QcView::undoExclusion() {
    if (!edits_.canUndo()) return;
    if (!edits_.undo()) {
        counts_->setText(tr("Cannot write %1.").arg(QString::fromStdString(edits_.path())));
        return;
    }
    refresh();
    emit exclusionsChanged();
}

void QcView::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Undo)) {
        undoExclusion();
    } else if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        toggleExclusion();
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void QcView::refresh() {
    undo_->setEnabled(edits_.canUndo());
    const qc::ProfileQc *checked = profile();
    if (!checked) {
        counts_->clear();
        showDetails();
        return;
    }
    options_.excluded = edits_.lines();
    section_->setOptions(options_);
    const auto excluded = edits_.lines().find({item_.survey, item_.line});
    const std::vector<survey::IpReading> &readings =
        database_->surveys[item_.survey].lines[item_.line].ip_readings;
    const qc::ProfileCounts counts = qc::count_profile(
        readings, *checked,
        excluded == edits_.lines().end() ? std::vector<bool>{} : excluded->second);
    QString text = tr("%1 readings, %2 usable; %3 reciprocal and %4 repeat pairs. Flagged: %5. "
                      "Excluded by hand: %6.")
                       .arg(counts.readings)
                       .arg(counts.usable)
                       .arg(counts.reciprocals)
                       .arg(counts.repeats)
                       .arg(QString::fromStdString(qc::flagged_text(counts)))
                       .arg(counts.excluded);
    if (!edits_.editable())
        text += tr(" %1 has lines that cannot be read: mend it to leave readings out here.")
                    .arg(QString::fromStdString(edits_.path()));
    counts_->setText(text);
    showDetails();
}

void QcView::showDetails() {
    const qc::ProfileQc *checked = profile();
    if (!picked_ || !checked) {
        details_->setText(tr("Click a reading in the pseudo-section."));
        decay_->showChannels({});
        exclude_->setEnabled(false);
        return;
    }
    const std::size_t i = *picked_;
    const std::vector<survey::IpReading> &readings =
        database_->surveys[item_.survey].lines[item_.line].ip_readings;
    const survey::IpReading &r = readings[i];
    const bool excluded = edits_.excluded(item_.survey, item_.line, i);
    QString text = tr("Reading %1 of the line%2\n%3 (m)\n")
                       .arg(i + 1)
                       .arg(excluded ? tr(": excluded by hand") : QString())
                       .arg(electrodes(r));
    text += readingValuesText(r);
    const qc::ReadingError &error = checked->errors[i];
    text += tr("\nError: %1").arg(source_text(error.source));
    if (error.source != qc::ErrorSource::None)
        text += tr(", %1 %").arg(100 * error.relative, 0, 'g', 3);
    const qc::Rules flags = checked->flags[i];
    text += flags ? tr("\nFlagged: %1").arg(rule_names(flags)) : tr("\nFlagged by no rule");
    std::vector<float> pair_decay;
    if (const std::optional<std::size_t> k = checked->pair_of[i]) {
        const qc::Pair &pair = checked->pairs[*k];
        const std::size_t other = pair.first == i ? pair.second : pair.first;
        text += tr("\n%1: reading %2, %3; relative error %4 %")
                    .arg(pair.kind == qc::PairKind::Repeat ? tr("Repeat") : tr("Reciprocal"))
                    .arg(other + 1)
                    .arg(electrodes(readings[other]))
                    .arg(100 * pair.relative_error(), 0, 'g', 3);
        pair_decay = readings[other].m;
    } else {
        text += tr("\nNo repeat or reciprocal");
    }
    details_->setText(text);
    decay_->showChannels(r.m, qc::master_curve(readings, checked->decays, i), pair_decay);
    exclude_->setText(excluded ? tr("Restore (Delete)") : tr("Exclude (Delete)"));
    exclude_->setEnabled(edits_.editable() && edits_.excludable(item_.survey, item_.line, i));
}
