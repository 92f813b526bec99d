// The survey printout: the algorithm on a recording surface (exact positions), then the real
// PDF written where no printer is installed, read back for its text, weight and rules.
#include "print_pdf_reader.h"
#include "survey_printer.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A surface with 100 units per character and 200 per line that logs every call.
class RecordingSurface final : public ravelin::PrintSurface {
  public:
    QStringList log;
    int x = 0, y = 0;
    void setFont(const QString &family, int pointSize) override {
        log << QStringLiteral("font %1 %2").arg(family).arg(pointSize);
    }
    void setBold(bool bold) override { log << (bold ? "bold" : "plain"); }
    void print(const QString &text, bool lineEnd) override {
        log << QStringLiteral("'%1'%2").arg(text, lineEnd ? " end" : "");
        x += 100 * text.size();
        if (lineEnd) {
            x = 0;
            y += 200;
        }
    }
    int currentX() const override { return x; }
    int currentY() const override { return y; }
    int pageWidth() const override { return 8003; }
    int pageHeight() const override { return 7699; }
    void drawLine(int x1, int y1, int x2, int y2, const QColor &color) override {
        log << QStringLiteral("line %1,%2 %3,%4 %5")
                   .arg(x1)
                   .arg(y1)
                   .arg(x2)
                   .arg(y2)
                   .arg(color.name());
    }
    bool endDocument(QString *) override {
        log << "end";
        return true;
    }
};

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    void firstLineSkippedBoldRulesAndIndent() {
        RecordingSurface surface;
        QString failure;
        QVERIFY(ravelin::printSurveyLines({"FIRST", "/\tKX", " 1.0", "", "-----", "Line 7"},
                                          surface, &failure));
        const QStringList expected{
            "font Courier New 8", "plain", "bold", "'          /       KX' end", "plain",
            "'           1.0' end", "plain", "bold", "'          ' end",
            // 6/8 of the width 8003 taken whole (6002), 7699 / 700 taken whole (10)
            "plain", "bold", "'          '", "line 1000,600 7002,610 #000000", "'' end", "plain",
            "bold", "'          Line 7' end", "end"};
        QCOMPARE(surface.log, expected);
    }

    void missingOrEmptySurveyStartsNoPrintout() {
        const QString pdf = dir.filePath("none.pdf");
        ravelin::PrintResult result =
            ravelin::printSurveyTextFile(dir.filePath("missing.txt"), pdf);
        QVERIFY(!result.ok);
        QVERIFY2(result.failure.contains(dir.filePath("missing.txt")), qPrintable(result.failure));
        writeFile(dir.filePath("empty.txt"), "");
        result = ravelin::printSurveyTextFile(dir.filePath("empty.txt"), pdf);
        QVERIFY(!result.ok);
        QVERIFY2(result.failure.contains(QLatin1String("empty")), qPrintable(result.failure));
        QVERIFY(!QFile::exists(pdf));
    }

    void pdfHoldsTextWeightAndRules() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the printout would go to it");
        writeFile(dir.filePath("s.txt"), "FIRST\r\n/\tKX-4 SURVEY\r\nLine 7\r\n  1.0\t2.0\r\n"
                                         "-----\r\n  3.0\r\n--\r\n");
        const ravelin::PrintResult result =
            ravelin::printSurveyTextFile(dir.filePath("s.txt"), dir.filePath("s.pdf"));
        QVERIFY2(result.ok, qPrintable(result.failure));
        QCOMPARE(result.pdfPath, dir.filePath("s.pdf"));

        QStringList texts;
        QList<bool> weights;
        for (const PdfTextLine &line : pdfTextLines(result.pdfPath)) {
            texts << line.text.trimmed();
            weights << line.bold;
        }
        // The dash lines leave only their bold indent behind.
        QCOMPARE(texts, (QStringList{"/       KX-4 SURVEY", "Line 7", "1.0   2.0", "", "3.0", ""}));
        QCOMPARE(weights, (QList<bool>{true, true, false, true, false, true}));

        const QList<PdfSegment> rules = pdfStrokedSegments(result.pdfPath);
        QCOMPARE(rules.size(), 2);
        // A4 with 15 mm margins, drawn in 1/1200 inch: printable 180 mm by 267 mm.
        const double width = 180 / 25.4 * 1200, height = 267 / 25.4 * 1200;
        for (const PdfSegment &rule : rules) {
            QVERIFY2(qAbs((rule.x2 - rule.x1) / (0.75 * width) - 1) < 0.01,
                     qPrintable(QString::number(rule.x2 - rule.x1)));
            QVERIFY2(qAbs((rule.y2 - rule.y1) - height / 700) <= 1.5,
                     qPrintable(QString::number(rule.y2 - rule.y1)));
        }
        QVERIFY(rules[1].y1 > rules[0].y1);
    }

    // A KX-4 data line with its indent is about 150 characters: the page turns so that every
    // character reaches the paper, the DATE column included.
    void widestLineTurnsThePage() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the printout would go to it");
        const QByteArray data = "    1001\t  1.000\t  2.000\t  3.000\t 4123.456\t  0.012\t"
                                "  0.003\t 12:34:56\t 12.5823\t   0.000\t 0.000\t  7/ 8/2006";
        writeFile(dir.filePath("w.txt"), "\r\n/\tKX-4\r\n" + data + "\r\n");
        const ravelin::PrintResult result =
            ravelin::printSurveyTextFile(dir.filePath("w.txt"), dir.filePath("w.pdf"));
        QVERIFY2(result.ok, qPrintable(result.failure));
        QStringList texts;
        for (const PdfTextLine &line : pdfTextLines(result.pdfPath))
            texts << line.text.simplified();
        QCOMPARE(texts.value(1), QString(data).simplified());
        QProcess info;
        info.start("pdfinfo", {result.pdfPath});
        QVERIFY(info.waitForFinished());
        const QString size = QString(info.readAllStandardOutput()).section("Page size:", 1, 1);
        const QStringList wh = size.simplified().split(' ');
        QVERIFY2(wh.value(0).toDouble() > wh.value(2).toDouble(), qPrintable(size)); // landscape
    }

    // The page breaks by itself when full; no line is lost or doubled at the break.
    void longSurveyRunsOverPages() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the printout would go to it");
        QByteArray survey;
        QStringList expected;
        for (int i = 1; i <= 250; ++i) {
            survey += "\r\n " + QByteArray::number(i);
            expected << QString::number(i);
        }
        writeFile(dir.filePath("long.txt"), survey);
        const ravelin::PrintResult result =
            ravelin::printSurveyTextFile(dir.filePath("long.txt"), dir.filePath("long.pdf"));
        QVERIFY2(result.ok, qPrintable(result.failure));
        int pages = 0;
        QStringList printed;
        for (const PdfTextLine &line : pdfTextLines(result.pdfPath, &pages))
            printed << line.text.trimmed();
        QCOMPARE(printed, expected);
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
