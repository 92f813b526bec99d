// The View page: opens a converted database and shows its plots, with a list to pick a profile,
// sounding or gravity line, the values and decay of a picked reading, the quality control of a
// profile, and saving as PNG or PDF.
#pragma once

#include "export_choices.h"
#include "plot_items.h"
#include "plot_painter.h"
#include "survey_model.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class DecayView;
class GravityReductionView;
class PlotCanvas;
class QcView;
class QStackedLayout;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class ViewPage : public QWidget {
    Q_OBJECT

  public:
    explicit ViewPage(QWidget *parent = nullptr);

    // Reads the database and lists its plots; a damaged file shows what could be read and says
    // where reading stopped. False when nothing could be read.
    bool openDatabase(const QString &path);
    // Writes the shown plot as PNG, or every plot as PDF, by the path's suffix.
    bool savePlots(const QString &path);
    // Exports the open database beside its file and shows what was written, left out or failed;
    // true when every file was written.
    bool exportDatabase(exports::Format format, std::optional<double> utc_offset_hours);

  private:
    void chooseDatabase();
    void chooseSaveFile();
    void chooseExport();
    void showItem(int row);
    // The M channel choices for the database: the mean, then M1 to the most any reading carries.
    void fillChannelChoice();
    void showReading(std::size_t index);

    PlotCanvas *canvas_;
    QcView *qc_;            // instead of the canvas for a profile when quality control is on
    QPushButton *qcButton_; // "Quality control", for profiles
    QStackedLayout *shown_; // the canvas or the QC view
    QListWidget *list_;
    QLabel *status_;
    QLabel *readingValues_;
    DecayView *decay_;
    GravityReductionView *gravity_;
    QPushButton *save_;
    QPushButton *export_;
    QComboBox *channel_;
    QString path_;
    survey::Database database_;
    std::string stopReason_; // where reading the open database stopped; empty when read whole
    std::vector<plots::PlotItem> items_;
    plots::PlotOptions options_;
};
