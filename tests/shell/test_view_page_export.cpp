// The View page's Export...: the open database exported beside its file, and the page says what
// was written, what failed and where a damaged file stopped.
#include "../i2dwriter/tvd_builder.h"
#include "view_page.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class ViewPageExportTest : public QObject {
    Q_OBJECT

  private slots:
    void exportsTheOpenDatabaseAndSaysWhatHappened() {
        QTemporaryDir dir;
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
            .add(tvd::array(0x00))
            .add(tvd::profile_header(100, 0, 900));
        for (float x : {20.0f, 30.0f})
            db.add(tvd::ipr_standard({.x = x, .dn = 10, .da = -20, .db = -10, .ro = 50}));
        std::vector<std::uint8_t> cut = db.bytes();
        cut.erase(cut.end() - 4, cut.end()); // the second reading ends early
        const QString path = dir.filePath("line7.tvd");
        QVERIFY(tvd::Database().raw(cut).write(path.toStdString()));

        ViewPage page;
        auto *button = page.findChild<QPushButton *>("EXPORT");
        QVERIFY(button && !button->isEnabled());
        QVERIFY(page.openDatabase(path));
        QVERIFY(button->isEnabled());
        auto *status = page.findChild<QLabel *>("ViewStatus");

        QVERIFY(!page.exportDatabase(exports::Format::Res2dinv, std::nullopt));
        const QString last = QString::number(db.bytes().size() - 52); // the second reading
        QCOMPARE(status->text(), "Export failed: " + path + ": Reading stopped at byte " + last +
                                     ": the file ends inside record 0x0100. Exported the readings "
                                     "before that point. Exported 1 file: line7-S1-L100N.dat.");
        QVERIFY(QFile::exists(dir.filePath("line7-S1-L100N.dat")));

        QVERIFY(!page.exportDatabase(exports::Format::GravityCsv, 2.0));
        QVERIFY(status->text().startsWith("Export failed: " + path +
                                          ": no KX-4 gravity readings to export"));
        QVERIFY(!QFile::exists(dir.filePath("line7-gravity.csv")));
        QCOMPARE(exportChoices().size(), std::size_t{5});
    }
};

QTEST_MAIN(ViewPageExportTest)
#include "test_view_page_export.moc"
