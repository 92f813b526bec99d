// The View page's gravity reduction: the database's KX-4 readings reduced as one network (the
// gravity library), the base's absolute gravity to show Bouguer anomalies, a short summary and
// the stations to read again.
#pragma once

#include "reduction.h"
#include "survey_model.h"

#include <QWidget>

#include <optional>

class QDoubleSpinBox;
class QLabel;
class QListWidget;

class GravityReductionView : public QWidget {
    Q_OBJECT

  public:
    explicit GravityReductionView(QWidget *parent = nullptr);

    // Reduces the database's KX-4 readings (which it keeps no reference to); hidden without any.
    void reduce(const survey::Database &database);
    // The last reduction; none when the database had no KX-4 readings.
    const gravity::Reduction *reduction() const { return reduction_ ? &*reduction_ : nullptr; }

  signals:
    // The reduction was made again (another base gravity): its plots are to be drawn again.
    void reduced();

  private:
    void run(); // reduces database_ with the base gravity shown
    void showReduction();

    QDoubleSpinBox *baseGravity_;
    QLabel *summary_;
    QListWidget *readAgain_;
    survey::Database database_;
    std::optional<gravity::Reduction> reduction_;
};
