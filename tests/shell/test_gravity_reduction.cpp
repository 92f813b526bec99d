// The View page on a gravity database: the stations to read again, and the reduced profile and
// loop view as printed.
#include "../i2dwriter/tvd_builder.h"
#include "plot_output.h"
#include "print_pdf_reader.h"
#include "view_page.h"

#include <QDoubleSpinBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Two loops from the base L100-0 out to stations 25, 50 and 75 and back, a drift of 0.04 mGal/h;
// one reading at station 50 off by spoil mGal.
tvd::Database two_loops(float spoil) {
    tvd::Database db;
    db.add(tvd::survey_header("Client", "Gravity", 2006, 0x11, 0x05))
        .add(tvd::profile_header(100, 0, 0));
    const float stations[] = {0, 25, 50, 75, 0, 75, 50, 25, 0};
    const float relative[] = {0, 0.4f, -0.3f, 1.1f, 0, 1.1f, -0.3f, 0.4f, 0};
    for (int i = 0; i < 9; ++i) {
        const double hours = 8 + 0.5 * i;
        tvd::Record r(0x0800);
        const float gravity = 3900 + relative[i] + 0.04f * 0.5f * i + (i == 2 ? spoil : 0);
        r.f32(stations[i]).f32(100).f32(0).f32(100).f32(gravity).f32(0.002f);
        r.at(44).u32(static_cast<std::uint32_t>(hours * 3600000)).u8(0x05).u8(0x11).u16(2006);
        db.add(r.at(62));
    }
    return db;
}

class GravityReductionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QStringList listed(ViewPage &page, const char *name) {
        QStringList texts;
        auto *list = page.findChild<QListWidget *>(QString::fromLatin1(name));
        for (int i = 0; list && i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

  private slots:
    void spoiledStationIsListedAndPrinted() {
        const QString path = dir.filePath("loops.tvd");
        QVERIFY(two_loops(0.1f).write(path.toStdString()));
        ViewPage page;
        QVERIFY(page.openDatabase(path));
        QCOMPARE(listed(page, "ReadAgainList"), QStringList{QStringLiteral("L100-50")});
        const QStringList plots = listed(page, "PlotList");
        QVERIFY2(plots.contains(QStringLiteral("Reduced gravity - line 100")),
                 qPrintable(plots.join('|')));
        QVERIFY(plots.contains(QStringLiteral("Gravity loops - residuals")));

        // The loop view's legend counts the flagged reading, as the PDF prints it.
        const QString pdf = dir.filePath("loops.pdf");
        QVERIFY(page.savePlots(pdf));
        QString legend;
        for (const PdfTextLine &line : pdfTextLines(pdf))
            if (line.text.contains(QStringLiteral("beyond 3 sigma"))) legend = line.text;
        QVERIFY2(legend.contains(QStringLiteral("2 loop(s) from base L100-0; 1 reading(s)")),
                 qPrintable(legend));

        // With the base's absolute gravity the profile shows the Bouguer anomaly.
        auto *base = page.findChild<QDoubleSpinBox *>(QStringLiteral("BaseGravity"));
        base->setValue(980000);
        emit base->editingFinished();
        QVERIFY(page.savePlots(pdf));
        QStringList titles;
        for (const PdfTextLine &line : pdfTextLines(pdf))
            titles << line.text;
        // A turned title comes in pieces.
        QVERIFY2(titles.join(QString()).contains(QStringLiteral("Simple Bouguer anomaly (mGal")),
                 qPrintable(titles.join('|')));
    }

    void unspoiledLoopsListNoStation() {
        const QString path = dir.filePath("clean.tvd");
        QVERIFY(two_loops(0).write(path.toStdString()));
        ViewPage page;
        QVERIFY(page.openDatabase(path));
        QVERIFY(listed(page, "ReadAgainList").isEmpty());
    }
};

} // namespace

QTEST_MAIN(GravityReductionTest)
#include "test_gravity_reduction.moc"
