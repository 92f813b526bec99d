// Saves the README's pictures of the View page: a VIREL profile with a picked reading, the
// quality control of a profile with reciprocals, one reading left out by hand and another picked,
// and a KX-4 gravity line and its reduced profile, from generated sample databases.
//   xvfb-run -a shell_view_pictures OUTPUT_FOLDER
#include "../support/qc_profile.h"
#include "convert.h"
#include "main_window.h"
#include "plot_canvas.h"
#include "samples.h"
#include "view_page.h"

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

namespace {

// Writes the database as NAME.raw in folder, converts it and returns the converted database.
QString converted(const QTemporaryDir &folder, const char *name,
                  const std::vector<std::uint8_t> &raw) {
    const std::string path = folder.filePath(QString(name) + ".raw").toStdString();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(raw.data()),
               static_cast<std::streamsize>(raw.size()));
    const std::int16_t keep = 1;
    dumpdec::convert(path, &keep);
    return folder.filePath(QString(name) + ".tvd");
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir settings, data;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ravelin::MainWindow form;
    form.setProgramEnder([] {});
    form.resize(1280, 800);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    auto *view = form.findChild<ViewPage *>(QStringLiteral("ViewTab"));
    form.findChild<QTabWidget *>(QStringLiteral("vsIndexTab1"))->setCurrentWidget(view);

    ravelin::sample::VirelShape virel;
    virel.stations = 24;
    virel.levels = 6;
    view->openDatabase(converted(data, "virel", ravelin::sample::build_virel(virel)));
    QTest::qWait(200);
    auto *canvas = view->findChild<PlotCanvas *>(QStringLiteral("PlotCanvas"));
    const auto &placed = canvas->placedReadings();
    if (placed.size() > 40)
        QTest::mouseClick(canvas, Qt::LeftButton, {}, placed[40].mark.center().toPoint());
    QTest::qWait(200);
    if (!form.grab().save(out.filePath(QStringLiteral("screenshot-view-profile.png")))) return 1;

    const QString grid = data.filePath(QStringLiteral("grid.tvd"));
    if (!qc_profile::database(qc_profile::readings()).write(grid.toStdString())) return 1;
    view->openDatabase(grid);
    view->findChild<QPushButton *>(QStringLiteral("QualityControl"))->click();
    QTest::qWait(200);
    auto *section = view->findChild<PlotCanvas *>(QStringLiteral("QcSection"));
    // Reading i's cell in the resistivity panel: the last drawn where cells overlap.
    auto click = [section](std::size_t reading) {
        for (const plots::PlacedReading &placed : section->placedReadings())
            if (placed.reading == reading) {
                QTest::mouseClick(section, Qt::LeftButton, {}, placed.mark.center().toPoint());
                return;
            }
    };
    click(64 + 9); // the reciprocal of the reading of Stdev 12 %: left out
    QTest::keyClick(section, Qt::Key_Delete);
    click(64 + 37); // the reciprocal of a decay five times its master curve
    QTest::qWait(200);
    if (!form.grab().save(out.filePath(QStringLiteral("screenshot-view-qc.png")))) return 1;

    ravelin::sample::Kx4Shape kx4;
    kx4.surveys = 3; // read on three days: two loops from the base
    kx4.readings_per_line = 30;
    view->openDatabase(converted(data, "kx4", ravelin::sample::build_kx4(kx4)));
    QTest::qWait(200);
    if (!form.grab().save(out.filePath(QStringLiteral("screenshot-view-gravity.png")))) return 1;

    // The reduced profile of the first line, as Bouguer anomalies from a base gravity.
    auto *baseGravity = view->findChild<QDoubleSpinBox *>(QStringLiteral("BaseGravity"));
    baseGravity->setValue(980552.4);
    emit baseGravity->editingFinished();
    auto *list = view->findChild<QListWidget *>(QStringLiteral("PlotList"));
    const auto reduced =
        list->findItems(QStringLiteral("Reduced gravity - line"), Qt::MatchStartsWith);
    if (reduced.isEmpty()) return 1;
    list->setCurrentItem(reduced.front());
    QTest::qWait(200);
    return form.grab().save(out.filePath(QStringLiteral("screenshot-view-reduced-gravity.png")))
               ? 0
               : 1;
}
