// The quality control of one IP profile on the View page: the error model and the histogram of
// the relative pair errors above the pseudo-section, with readings left out by hand crossed out,
// and the counts (readings, pairs, flagged by each rule, left out) under it. A click on a reading
// shows its values, its decay against its dipole's master curve and its repeat or reciprocal;
// Delete (or the button) leaves it out or takes it back, saved at once to NAME.exclude beside the
// database; Ctrl+Z undoes. The checks themselves come from the qc library.
#pragma once

#include "exclusion_edits.h"
#include "plot_painter.h"
#include "reading_errors.h"

#include <QWidget>

#include <optional>

class DecayView;
class PlotCanvas;
class PlotPicture;
class QLabel;
class QPushButton;

class QcView : public QWidget {
    Q_OBJECT

  public:
    explicit QcView(QWidget *parent = nullptr);

    // The database the page opened (it outlives the view's use of it) and its file: reads
    // NAME.exclude beside it. Returns the lines of that file that could not be read.
    const std::vector<std::string> &openDatabase(const survey::Database *database,
                                                 const QString &path);
    // Shows a profile's item (a pseudo-section) with the page's options (the M channel).
    void showProfile(const plots::PlotItem &item, const plots::PlotOptions &options);
    // The readings left out by hand, for the page's own plots.
    const exports::ExcludedLines &excluded() const { return edits_.lines(); }

  signals:
    void exclusionsChanged();

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    void pickReading(std::size_t index);
    void toggleExclusion();
    void undoExclusion();
    // The counts, the pseudo-section and the picked reading's details after a change.
    void refresh();
    void showDetails();
    const qc::ProfileQc *profile() const;

    PlotPicture *model_;
    PlotPicture *histogram_;
    PlotCanvas *section_;
    QLabel *counts_;
    QLabel *details_;
    DecayView *decay_;
    QPushButton *exclude_;
    QPushButton *undo_;
    const survey::Database *database_ = nullptr;
    ExclusionEdits edits_;
    std::optional<qc::DatabaseQc> checked_; // worked out when a profile is first shown
    plots::PlotItem item_;
    plots::PlotOptions options_;
    std::optional<std::size_t> picked_;
};
