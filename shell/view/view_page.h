// The View page: opens a converted database and shows its plots, with a list to pick a profile,
// sounding or gravity line, the values and decay of a picked reading, and saving as PNG or PDF.
#pragma once

#include "plot_items.h"
#include "survey_model.h"

#include <QWidget>

#include <vector>

class DecayView;
class PlotCanvas;
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

  private:
    void chooseDatabase();
    void chooseSaveFile();
    void showItem(int row);
    void showReading(std::size_t index);

    PlotCanvas *canvas_;
    QListWidget *list_;
    QLabel *status_;
    QLabel *readingValues_;
    DecayView *decay_;
    QPushButton *save_;
    QString path_;
    survey::Database database_;
    std::vector<plots::PlotItem> items_;
};
