#include "gravity_reduction_view.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

GravityReductionView::GravityReductionView(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GravityReduction"));
    baseGravity_ = new QDoubleSpinBox(this);
    baseGravity_->setObjectName(QStringLiteral("BaseGravity"));
    baseGravity_->setRange(0, 990000);
    baseGravity_->setDecimals(3);
    baseGravity_->setSuffix(QStringLiteral(" mGal"));
    baseGravity_->setSpecialValueText(tr("Base gravity: none (relative)"));
    baseGravity_->setToolTip(tr("The base's absolute gravity: the profiles show the simple "
                                "Bouguer anomaly"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ReductionSummary"));
    summary_->setWordWrap(true);
    readAgain_ = new QListWidget(this);
    readAgain_->setObjectName(QStringLiteral("ReadAgainList"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(baseGravity_);
    layout->addWidget(summary_);
    layout->addWidget(new QLabel(tr("Stations to read again:"), this));
    layout->addWidget(readAgain_, 1);
    // Redrawn when the typing is done, not at each digit.
    connect(baseGravity_, &QDoubleSpinBox::editingFinished, this, [this] {
        if (reduction_) {
            run();
            emit reduced();
        }
    });
    setVisible(false);
}

void GravityReductionView::reduce(const survey::Database &database) {
    database_ = database;
    run();
}

void GravityReductionView::run() {
    reduction_.reset();
    gravity::ReductionOptions options;
    if (baseGravity_->value() > 0) options.base_gravity = baseGravity_->value();
    gravity::Reduction reduction = gravity::reduce({&database_}, options);
    if (!reduction.readings.empty()) reduction_ = std::move(reduction);
    showReduction();
}

void GravityReductionView::showReduction() {
    readAgain_->clear();
    setVisible(reduction_.has_value());
    if (!reduction_) return;
    const gravity::Reduction &r = *reduction_;
    if (!r.drift.solved) {
        summary_->setText(
            tr("Gravity: not adjusted: %1.").arg(QString::fromStdString(r.drift.problem)));
        return;
    }
    const gravity::Tally counted = gravity::tally(r);
    summary_->setText(tr("Gravity: base %1, %2 loop(s), sigma0 %3; %4 reading(s) beyond %5 sigma, "
                         "%6 loop(s) beyond the chi-square bound.")
                          .arg(QString::fromStdString(r.stations[r.base].name))
                          .arg(counted.loops)
                          .arg(r.drift.sigma0, 0, 'f', 2)
                          .arg(counted.flagged)
                          .arg(r.residual_limit, 0, 'g', 3)
                          .arg(counted.failed_loops));
    for (const gravity::Station &s : r.stations)
        if (s.read_again || !s.tied) readAgain_->addItem(QString::fromStdString(s.name));
}
