// The View page's quality control driven as a user does: a reading picked in the pseudo-section
// and left out with Delete is the one line of NAME.exclude, by where its electrodes stood; the
// export leaves exactly it out; a new page (a restart) shows it crossed out; Ctrl+Z takes it back.
#include "../support/qc_profile.h"
#include "plot_canvas.h"
#include "view_page.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Opens path on page with the quality control shown, painted once so its cells are placed.
PlotCanvas *showQc(ViewPage &page, const QString &path) {
    page.resize(1280, 800);
    page.show();
    if (!QTest::qWaitForWindowExposed(&page) || !page.openDatabase(path)) return nullptr;
    page.findChild<QPushButton *>("QualityControl")->click();
    auto *section = page.findChild<PlotCanvas *>("QcSection");
    section->grab();
    return section;
}

// The centre of reading's cell in the resistivity panel.
QPoint cellOf(const PlotCanvas *section, std::size_t reading) {
    for (const plots::PlacedReading &placed : section->placedReadings())
        if (placed.reading == reading) return placed.mark.center().toPoint();
    return {};
}

QStringList readingLines(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
        if (!line.startsWith('#')) lines << line;
    return lines;
}

// The apparent resistivities of an .ohm file's rows, as its reader takes them: after the token
// line of the data, the fifth column.
std::vector<double> ohmResistivities(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    std::vector<double> values;
    bool data = false;
    for (const QString &line : lines) {
        if (line.startsWith("# a b m n"))
            data = true;
        else if (data)
            values.push_back(line.split(' ', Qt::SkipEmptyParts).value(4).toDouble());
    }
    return values;
}

} // namespace

class QcViewTest : public QObject {
    Q_OBJECT

  private slots:
    void aReadingLeftOutByHandIsSavedExportedWithoutAndUndone() {
        QTemporaryDir dir;
        const std::vector<qc_profile::Reading> readings = qc_profile::readings();
        const QString path = dir.filePath("grid.tvd");
        QVERIFY(qc_profile::database(readings).write(path.toStdString()));
        const std::size_t left_out = 64 + 9; // a reciprocal, drawn over its reading
        const qc_profile::Reading &r = readings[left_out];

        ViewPage page;
        PlotCanvas *section = showQc(page, path);
        QVERIFY(section);
        QTest::mouseClick(section, Qt::LeftButton, {}, cellOf(section, left_out));
        QTest::keyClick(section, Qt::Key_Delete);
        const QStringList lines = readingLines(dir.filePath("grid.exclude"));
        QCOMPARE(lines.size(), 1);
        const QString electrodes =
            QString::asprintf("S1 L100N %.3f %.3f %.3f %.3f #", r.a, r.b, r.m, r.n);
        QVERIFY2(lines[0].startsWith(electrodes), qPrintable(lines[0] + " / " + electrodes));
        auto *counts = page.findChild<QLabel *>("QcCounts");
        QVERIFY2(counts->text().contains("Excluded by hand: 1."), qPrintable(counts->text()));

        // The export leaves out that reading alone.
        QVERIFY(page.exportDatabase(exports::Format::Ohm, std::nullopt));
        const std::vector<double> rows = ohmResistivities(dir.filePath("grid-S1-L100N.ohm"));
        QCOMPARE(rows.size(), readings.size() - 1);
        for (double rho : rows)
            QVERIFY2(std::fabs(rho - r.ro) > 1e-4 * r.ro, qPrintable(QString::number(rho)));

        { // A restart shows it crossed out: dark where the cross's strokes meet.
            ViewPage again;
            PlotCanvas *shown = showQc(again, path);
            QVERIFY(shown);
            const QImage image = shown->grab().toImage();
            QVERIFY(qGray(image.pixel(cellOf(shown, left_out))) < 64);
            QVERIFY(again.findChild<QLabel *>("QcCounts")->text().contains("Excluded by hand: 1."));
        }

        QTest::keyClick(section, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!QFile::exists(dir.filePath("grid.exclude")));
        QVERIFY2(counts->text().contains("Excluded by hand: 0."), qPrintable(counts->text()));
    }
};

QTEST_MAIN(QcViewTest)
#include "test_qc_view.moc"
