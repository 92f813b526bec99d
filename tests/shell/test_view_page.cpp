// The plots as drawn (colours of known readings, hollow marks, axis ticks, the drift fit, every
// text whole at the window's size), the View page on a damaged database, and ravelin-plot's files,
// its readings left out by hand and exit codes.
#include "../i2dwriter/tvd_builder.h"
#include "colour_scale.h"
#include "plot_canvas.h"
#include "plot_geometry.h"
#include "plot_output.h"
#include "plot_painter.h"
#include "print_pdf_reader.h"
#include "survey_reader.h"
#include "view_page.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPaintEngine>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <limits>

namespace {

// A dipole-dipole profile of three readings at n = 1: Ro 10 and 1000 bound the colour scale, the
// third has a negative Ro.
tvd::Database three_reading_profile() {
    tvd::Database db;
    db.add(tvd::Record(0x1008).at(28).text("VIREL", 16).at(112))
        .add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
        .add(tvd::ipi(0, 2, 2))
        .add(tvd::array(0x00))
        .add(tvd::profile_header(100, 0, 900));
    float x = 0;
    for (float ro : {10.0f, 1000.0f, -5.0f}) {
        db.add(
            tvd::ipr_standard({.x = x, .dn = 10, .da = 5, .db = -10, .ro = ro, .m = {4, 3, 2, 1}}));
        x += 10;
    }
    return db;
}

// A KX-4 reading at line y, station x, taken on 2006-11-05 at hours past midnight.
tvd::Record kx4_reading(float y, float x, float gravity, double hours) {
    tvd::Record r(0x0800);
    r.f32(x).f32(y).f32(0).f32(y).f32(gravity).f32(0.01f);
    r.at(44).u32(static_cast<std::uint32_t>(hours * 3600000)).u8(0x05).u8(0x11).u16(2006);
    return r.at(62);
}

QRgb pixel(const QImage &image, const QPointF &at) {
    return image.pixel(at.toPoint());
}

// A text as painted: where its glyphs lie on the device, and whether the clip it was painted
// under (the rectangle of a drawText, for one) leaves any of it out.
struct DrawnText {
    QString text;
    QRectF rect;
    bool cut = false;
};

// A paint device that draws nothing and records each text painted on it.
class TextRecorder : public QPaintDevice {
  public:
    explicit TextRecorder(QSize size) : size_(size) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    const QList<DrawnText> &texts() const { return engine_.texts; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

  private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        Type type() const override { return User; }
        void drawTextItem(const QPointF &at, const QTextItem &item) override {
            const QRectF glyphs(at.x(), at.y() - item.ascent(), item.width(),
                                item.ascent() + item.descent());
            const QPainter *p = painter();
            const bool cut = p->hasClipping() &&
                             !p->clipBoundingRect().adjusted(-0.5, -0.5, 0.5, 0.5).contains(glyphs);
            texts.append({item.text(), p->combinedTransform().mapRect(glyphs), cut});
        }
        QList<DrawnText> texts;
    };
    QSize size_;
    mutable Engine engine_;
};

// What a widget shows as text, painted at its size.
QList<DrawnText> drawnTexts(QWidget *widget) {
    TextRecorder recorder(widget->size());
    widget->render(&recorder);
    return recorder.texts();
}

// The texts that leave the widget or are cut by a clip, with where they lie.
QStringList cutTexts(const QList<DrawnText> &texts, QSize size) {
    QStringList cut;
    const QRectF inside = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-0.5, -0.5, 0.5, 0.5);
    for (const DrawnText &t : texts)
        if (t.cut || !inside.contains(t.rect))
            cut << QStringLiteral("\"%1\" at %2,%3 %4x%5")
                       .arg(t.text)
                       .arg(t.rect.x())
                       .arg(t.rect.y())
                       .arg(t.rect.width())
                       .arg(t.rect.height());
    return cut;
}

// The numbers among the texts, within [lo, hi].
std::vector<double> numbers(const QList<DrawnText> &texts, double lo, double hi) {
    std::vector<double> values;
    for (const DrawnText &t : texts) {
        bool ok = false;
        const double v = t.text.toDouble(&ok);
        if (ok && v >= lo && v <= hi) values.push_back(v);
    }
    std::sort(values.begin(), values.end());
    return values;
}

QString joined(const QList<DrawnText> &texts) {
    QStringList all;
    for (const DrawnText &t : texts)
        all << t.text;
    return all.join(' ');
}

} // namespace

class ViewPageTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void pseudoSectionColoursTheReadingsAndMarksThoseWithoutRo() {
        const survey::LoadResult loaded = read(three_reading_profile(), "p.tvd");
        const std::vector<plots::PlotItem> items = plots::plot_items(loaded.database);
        QCOMPARE(items.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(items[0].title),
                 QString("Grid - Line 100.000N - Dipole_Dipole"));
        QImage image(1200, 800, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780); // 96 dpi
        image.setDotsPerMeterY(3780);
        std::vector<plots::PlacedReading> placed;
        {
            QPainter painter(&image);
            plots::draw_plot(painter, image.rect(), loaded.database, items[0], {}, &placed);
        }
        QCOMPARE(placed.size(), std::size_t{6}); // three readings in each of two panels
        QCOMPARE(pixel(image, placed[0].mark.center()), plots::scale_colour(0).rgb());
        QCOMPARE(pixel(image, placed[1].mark.center()), plots::scale_colour(1).rgb());
        // Ro <= 0: a crossed cell, white inside with a dark outline and cross, not left out.
        const QRectF mark = placed[2].mark;
        QCOMPARE(pixel(image, mark.center() - QPointF(0, mark.height() / 4)),
                 QColor(Qt::white).rgb());
        int darkest = 255; // where the cross's two strokes meet
        for (int dy = -1; dy <= 1; ++dy)
            darkest = std::min(darkest, qGray(pixel(image, mark.center() + QPointF(0, dy))));
        QVERIFY(darkest < 128);
        QVERIFY(qGray(pixel(image, QPointF(mark.left() + 1, mark.center().y()))) < 128);
        // Readings of a level one spacing apart leave no white column between them.
        const QPointF between = (placed[0].mark.center() + placed[1].mark.center()) / 2;
        QVERIFY(pixel(image, between) != QColor(Qt::white).rgb());
        // Its chargeability is a value like any other: a coloured cell.
        QVERIFY(pixel(image, placed[5].mark.center()) != QColor(Qt::white).rgb());
        // Readings left to right in order of position, levels downward from n = 1.
        QVERIFY(placed[0].mark.center().x() < placed[1].mark.center().x());
        // A reading stands at the same x in both panels, whatever their labels' widths.
        QCOMPARE(placed[3].mark.left(), placed[0].mark.left());
        QCOMPARE(placed[4].mark.right(), placed[1].mark.right());
    }

    // Dipole-dipole at n = 1 and 2, whose centres are offset by half a spacing, and a Wenner
    // line: cells of a level tile it, and levels are labelled with their unit.
    void levelsTileWithoutGapsAndSayTheirUnit() {
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
            .add(tvd::ipi(0, 2, 2))
            .add(tvd::array(0x00))
            .add(tvd::profile_header(100, 0, 900));
        for (float x : {20.0f, 30.0f, 40.0f})
            db.add(tvd::ipr_standard({.x = x, .dn = 10, .da = -20, .db = -10, .ro = 50, .n = 1}));
        for (float x : {30.0f, 40.0f})
            db.add(tvd::ipr_standard({.x = x, .dn = 10, .da = -30, .db = -20, .ro = 80, .n = 2}));
        db.add(tvd::array(0x11)).add(tvd::profile_header(200, 0, 900));
        for (float x : {5.0f, 10.0f})
            db.add(tvd::ipr_standard({.x = x, .dn = 5, .da = -5, .db = 10, .ro = 60, .n = 1}));
        const survey::LoadResult loaded = read(db, "levels.tvd");
        const std::vector<plots::PlotItem> items = plots::plot_items(loaded.database);
        QCOMPARE(items.size(), std::size_t{2});
        QImage image(1200, 800, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        std::vector<plots::PlacedReading> placed;
        {
            QPainter painter(&image);
            plots::draw_plot(painter, image.rect(), loaded.database, items[0], {}, &placed);
        }
        const QPointF between = (placed[0].mark.center() + placed[1].mark.center()) / 2;
        QCOMPARE(pixel(image, between), pixel(image, placed[0].mark.center()));

        QVERIFY(plots::write_pdf(dir.filePath("levels.pdf"), loaded.database, items, {}));
        QStringList labels;
        for (const PdfTextLine &line : pdfTextLines(dir.filePath("levels.pdf")))
            labels << line.text;
        QVERIFY2(labels.contains("n = 2") && labels.contains("a = 5 m"),
                 qPrintable(labels.join(" | ")));
    }

    // A dump stopped inside a reading's record reads the rest of it as erased memory: its
    // position and level are NaN. The line still draws (it once never returned), that reading
    // without a cell.
    void aReadingCutShortHasNoCell() {
        const float erased = std::numeric_limits<float>::quiet_NaN();
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
            .add(tvd::ipi(0, 2, 2))
            .add(tvd::array(0x11))
            .add(tvd::profile_header(200, 0, 900));
        for (float x : {5.0f, 10.0f})
            db.add(tvd::ipr_standard({.x = x, .dn = 5, .da = -5, .db = 10, .ro = 60, .n = 1}));
        db.add(tvd::ipr_standard({.x = erased, .dn = erased, .da = erased, .db = erased}));
        const survey::LoadResult loaded = read(db, "cut.tvd");
        QImage image(1200, 800, QImage::Format_RGB32);
        std::vector<plots::PlacedReading> placed;
        {
            QPainter painter(&image);
            plots::draw_plot(painter, image.rect(), loaded.database,
                             plots::plot_items(loaded.database).at(0), {}, &placed);
        }
        QCOMPARE(placed.size(), std::size_t{4}); // the two whole readings in each panel
        QCOMPARE(placed[1].reading, std::size_t{1});
    }

    void axesTickAtRoundValues() {
        QVERIFY((plots::Axis(3, 870, true).ticks() ==
                 std::vector<double>{5, 10, 20, 50, 100, 200, 500}));
        QVERIFY((plots::Axis(20, 400, true).ticks() == std::vector<double>{20, 50, 100, 200}));
        // Across four decades still 1, 2 and 5 of each.
        QVERIFY((plots::Axis(1, 5000, true).ticks() ==
                 std::vector<double>{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000}));
        QVERIFY(
            (plots::Axis(0.5, 8.5, false).ticks() == std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(plots::Axis(3912.0, 3912.8, false).label(3912.2), std::string("3912.2"));
    }

    // The View page at the window's own size: a profile of 30-90 ohm.m over three levels, a
    // sounding falling from 300 to 30 ohm.m, a gravity line and a picked reading's decay. Every
    // text lies whole inside its widget; the colour bar and the sounding's axis label values at
    // or beyond the ends of the data.
    void viewAtTheWindowsSizeCutsNoText() {
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Grid", 2006, 0x07, 0x15))
            .add(tvd::ipi(0, 2, 2))
            .add(tvd::array(0x00))
            .add(tvd::profile_header(100, 0, 900));
        float ro = 30;
        for (std::uint16_t n = 1; n <= 3; ++n)
            for (float x = 1000; x <= 1200; x += 25, ro = ro >= 90 ? 30 : ro + 7.5f)
                db.add(tvd::ipr_standard({.x = x,
                                          .dn = 25,
                                          .da = -25.0f * n,
                                          .db = -25.0f * (n + 1),
                                          .ro = ro,
                                          .n = n,
                                          .m = {4, 3, 2, 1}}));
        db.add(tvd::sounding_header(0x10)).add(tvd::array(0x10));
        const float spacings[] = {2, 3, 5, 8}, resistivities[] = {300, 200, 80, 30};
        for (int i = 0; i < 4; ++i)
            db.add(tvd::ipr_standard({.dn = 1,
                                      .da = -spacings[i],
                                      .db = spacings[i],
                                      .ro = resistivities[i],
                                      .m = {4, 3, 2, 1}}));
        db.add(tvd::profile_header(300, 0, 0));
        double hours = 8;
        for (float station : {0.0f, 25.0f, 50.0f, 75.0f, 0.0f})
            db.add(kx4_reading(300, station, 3900.0f + station / 50, hours += 0.25));
        QVERIFY(db.write(dir.filePath("window.tvd").toStdString()));

        ViewPage page;
        page.resize(768, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.openDatabase(dir.filePath("window.tvd")));
        auto *list = page.findChild<QListWidget *>("PlotList");
        // Profile, sounding, gravity line, drift, the reduced line and the loop's residuals.
        QCOMPARE(list->count(), 6);
        auto *canvas = page.findChild<PlotCanvas *>("PlotCanvas");
        QStringList cut;
        QList<DrawnText> shown[6];
        for (int row = 0; row < 6; ++row) {
            list->setCurrentRow(row);
            shown[row] = drawnTexts(canvas);
            cut << cutTexts(shown[row], canvas->size());
        }
        list->setCurrentRow(0);
        canvas->grab();
        QTest::mouseClick(canvas, Qt::LeftButton, {},
                          canvas->placedReadings().at(1).mark.center().toPoint());
        QWidget *decay = page.findChild<QWidget *>("DecayView");
        const QList<DrawnText> decay_texts = drawnTexts(decay);
        cut << cutTexts(decay_texts, decay->size());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));

        // The titles are there whole (on one line or wrapped onto more).
        const QString profile = joined(shown[0]);
        QVERIFY2(profile.contains("Apparent resistivity (ohm.m)") &&
                     profile.contains("Chargeability, mean of M channels (mV/V)"),
                 qPrintable(profile));
        QVERIFY(joined(decay_texts).contains("M (mV/V)"));
        QVERIFY(joined(decay_texts).contains("Window"));
        // The colour bar of 30-90 ohm.m: the positions are 1000-1200 m and the chargeability
        // scale lies within 2.5 +- 1, so the values between 10 and 500 are its labels.
        const std::vector<double> bar = numbers(shown[0], 10, 500);
        QVERIFY2(bar.size() >= 2 && bar.front() <= 30 && bar.back() >= 90, qPrintable(profile));
        // The sounding's spacings lie within 1-10 m, its resistivity from 30 to 300 ohm.m.
        const std::vector<double> axis = numbers(shown[1], 11, 1e6);
        QVERIFY2(!axis.empty() && axis.front() <= 30 && axis.back() >= 300,
                 qPrintable(joined(shown[1])));
    }

    void driftOfARepeatedStationIsItsSlopePerHour() {
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Gravity", 2006, 0x11, 0x05));
        // The base station at 08:00, 10:00 and (next day) 00:00, and one other station.
        const std::uint32_t times[] = {8 * 3600000u, 10 * 3600000u, 0u};
        const std::uint8_t days[] = {0x05, 0x05, 0x06};
        for (int i = 0; i < 4; ++i) {
            const float gravity = i == 3 ? 3900.0f : 3912.0f + 0.025f * (i == 2 ? 16 : 2 * i);
            tvd::Record r(0x0800);
            r.f32(i == 3 ? 25 : 0).f32(100).f32(0).f32(100).f32(gravity).f32(0.01f);
            r.at(44).u32(times[i % 3]).u8(days[i % 3]).u8(0x11).u16(2006).at(62);
            db.add(r);
        }
        const survey::LoadResult loaded = read(db, "g.tvd");
        const auto stations = plots::repeated_stations(loaded.database.surveys.at(0));
        QCOMPARE(stations.size(), std::size_t{1});
        QCOMPARE(stations[0].readings.size(), std::size_t{3});
        std::vector<double> hours, gravity;
        for (const survey::GravityReading *g : stations[0].readings) {
            hours.push_back(survey::reading_hours(*g));
            gravity.push_back(g->gravity);
        }
        const auto fit = plots::straight_line_fit(hours, gravity);
        QVERIFY(fit.has_value());
        QVERIFY(std::fabs(fit->slope - 0.025) < 1e-4);
    }

    // A loop that leaves the base (line 0) and returns to it twice, and repeats station 50: the
    // profile joins stations 0 to 100 in order, each once, at its mean; the base stands apart.
    void gravityLineJoinsOneMeanPerStationInStationOrder() {
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Gravity", 2006, 0x11, 0x05))
            .add(tvd::profile_header(100, 0, 0));
        const struct {
            float y, x, gravity;
        } loop[] = {{0, 0, 3900.0f},    {100, 0, 3901.0f},  {100, 50, 3902.0f},
                    {100, 25, 3903.0f}, {0, 0, 3900.1f},    {100, 100, 3904.0f},
                    {100, 50, 3902.2f}, {100, 75, 3905.0f}, {0, 0, 3900.2f}};
        double hours = 8;
        for (const auto &r : loop)
            db.add(kx4_reading(r.y, r.x, r.gravity, hours += 0.25));
        const survey::LoadResult loaded = read(db, "loop.tvd");
        const plots::GravityProfile profile =
            plots::gravity_profile(loaded.database.surveys.at(0).lines.at(0));
        std::vector<double> positions, means;
        for (const plots::ProfileStation &s : profile.stations) {
            positions.push_back(s.position);
            means.push_back(std::round(s.mean * 1000) / 1000);
        }
        QVERIFY((positions == std::vector<double>{0, 25, 50, 75, 100}));
        QVERIFY((means == std::vector<double>{3901, 3903, 3902.1, 3905, 3904}));
        QCOMPARE(profile.stations[2].readings.size(), std::size_t{2});
        QCOMPARE(profile.bases.size(), std::size_t{1});
        QCOMPARE(profile.bases[0].readings.size(), std::size_t{3});
    }

    // Three stations read four times each over six hours, drifting 0.05 mGal/h with noise of a
    // few microgal: the drift view prints the one common drift.
    void driftViewPrintsTheCommonDrift() {
        tvd::Database db;
        db.add(tvd::survey_header("Client", "Gravity", 2006, 0x11, 0x05));
        const double noise[] = {0.004, -0.006, 0.002, -0.003, 0.005,  -0.002,
                                0.006, -0.005, 0.001, 0.003,  -0.004, 0.002};
        for (int visit = 0; visit < 4; ++visit)
            for (int station = 0; station < 3; ++station) {
                const double hours = 8 + 2 * visit + 0.3 * station;
                const double g =
                    3900 + 5 * station + 0.05 * (hours - 8) + noise[3 * visit + station];
                db.add(kx4_reading(100, 50.0f * station, static_cast<float>(g), hours));
            }
        const survey::LoadResult loaded = read(db, "drift.tvd");
        std::vector<plots::PlotItem> items = plots::plot_items(loaded.database);
        std::erase_if(items, [](const plots::PlotItem &item) {
            return item.kind != plots::PlotKind::GravityDrift;
        });
        QCOMPARE(items.size(), std::size_t{1});
        QVERIFY(plots::write_pdf(dir.filePath("drift.pdf"), loaded.database, items, {}));
        QString printed;
        for (const PdfTextLine &line : pdfTextLines(dir.filePath("drift.pdf")))
            if (line.text.startsWith("Instrument drift")) printed = line.text;
        const QRegularExpression number(QStringLiteral("^Instrument drift (-?[0-9.]+) "));
        const QRegularExpressionMatch match = number.match(printed);
        QVERIFY2(match.hasMatch(), qPrintable(printed));
        QVERIFY2(std::fabs(match.captured(1).toDouble() - 0.05) < 0.01, qPrintable(printed));
    }

    void viewPageShowsWhatADamagedFileHoldsAndWhereItStopped() {
        std::vector<std::uint8_t> bytes = three_reading_profile().bytes();
        const std::size_t last = bytes.size() - (52 + 16);
        bytes.erase(bytes.end() - 10, bytes.end());
        const QString path = dir.filePath("cut.tvd");
        QVERIFY(tvd::Database().raw(bytes).write(path.toStdString()));

        ViewPage page;
        page.resize(1200, 800);
        QVERIFY(page.openDatabase(path));
        QCOMPARE(page.findChild<QListWidget *>("PlotList")->count(), 1);
        const QString status = page.findChild<QLabel *>("ViewStatus")->text();
        QVERIFY2(status.contains(QString("Reading stopped at byte %1: the file ends inside record "
                                         "0x0100. What was read before is shown.")
                                     .arg(last)),
                 qPrintable(status));

        // Picking the second reading shows its values and its decay.
        auto *canvas = page.findChild<PlotCanvas *>("PlotCanvas");
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        canvas->grab();
        QTest::mouseClick(canvas, Qt::LeftButton, {},
                          canvas->placedReadings()[1].mark.center().toPoint());
        QVERIFY(page.findChild<QLabel *>("ReadingValues")->text().contains("Ro 1000.000"));

        // Zoomed about the first reading, which stays under the mouse, a click there picks it.
        const QPoint first = canvas->placedReadings()[0].mark.center().toPoint();
        QWheelEvent wheel(first, canvas->mapToGlobal(first), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        QCOMPARE(canvas->zoom(), 1.25);
        canvas->grab();
        QTest::mouseClick(canvas, Qt::LeftButton, {}, first);
        QVERIFY(page.findChild<QLabel *>("ReadingValues")->text().contains("Ro 10.000"));

        QVERIFY(page.savePlots(dir.filePath("shown.png")));
        QVERIFY(QImage(dir.filePath("shown.png")).width() > 0);
        QVERIFY(page.savePlots(dir.filePath("all.pdf")));
        QFile pdf(dir.filePath("all.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }

    void plotToolWritesBesideTheDatabaseAndSaysWhenThereIsNothing() {
        QVERIFY(three_reading_profile().write(dir.filePath("line.a.tvd").toStdString()));
        QCOMPARE(run({dir.filePath("line.a.tvd")}), 0);
        QCOMPARE(out.trimmed(), dir.filePath("line-plots.pdf").toUtf8());
        QVERIFY(QFile::exists(dir.filePath("line-plots.pdf")));

        tvd::Database nothing;
        nothing.add(tvd::survey_header("Client", "Empty", 2006, 0x01, 0x01));
        QVERIFY(nothing.write(dir.filePath("empty.tvd").toStdString()));
        QCOMPARE(run({dir.filePath("empty.tvd")}), 1);
        QVERIFY(err.contains("holds nothing to plot"));
        QVERIFY(!QFile::exists(dir.filePath("empty-plots.pdf")));

        QCOMPARE(run({dir.filePath("line.a.tvd"), "--out", dir.filePath("x.svg")}), 2);
        QCOMPARE(run({dir.filePath("line.a.tvd"), "--channel", "0"}), 2);
        QCOMPARE(run({"--help"}), 0);
        QVERIFY(out.contains("--profile"));
    }

    // NAME.exclude names the second reading (x 10: A 15, B 0, M 10, N 20): ravelin-plot draws it
    // crossed out over its colour; the others keep theirs.
    void plotToolCrossesOutReadingsLeftOutByHand() {
        QVERIFY(three_reading_profile().write(dir.filePath("cross.tvd").toStdString()));
        QFile exclude(dir.filePath("cross.exclude"));
        QVERIFY(exclude.open(QIODevice::WriteOnly));
        exclude.write("S1 L100N 15 0 10 20 # cable cut\n");
        exclude.close();
        QCOMPARE(run({dir.filePath("cross.tvd"), "--out", dir.filePath("cross.png")}), 0);
        const QImage drawn(dir.filePath("cross.png"));
        const survey::LoadResult loaded =
            survey::load_database(dir.filePath("cross.tvd").toStdString());
        QImage image(drawn.size(), QImage::Format_RGB32);
        image.setDotsPerMeterX(drawn.dotsPerMeterX());
        image.setDotsPerMeterY(drawn.dotsPerMeterY());
        std::vector<plots::PlacedReading> placed;
        {
            QPainter painter(&image);
            plots::draw_plot(painter, image.rect(), loaded.database,
                             plots::plot_items(loaded.database).at(0), {}, &placed);
        }
        const QRectF crossed = placed.at(1).mark;
        QVERIFY(qGray(pixel(drawn, crossed.center())) < 64);
        QCOMPARE(pixel(drawn, crossed.center() - QPointF(0, crossed.height() / 3)),
                 plots::scale_colour(1).rgb());
        QCOMPARE(pixel(drawn, placed.at(0).mark.center()), plots::scale_colour(0).rgb());

        exclude.open(QIODevice::WriteOnly);
        exclude.write("S1 L100N 15 0\n");
        exclude.close();
        QCOMPARE(run({dir.filePath("cross.tvd"), "--out", dir.filePath("cross.png")}), 1);
        QVERIFY2(err.contains("cross.exclude:1: not a reading"), err.constData());
    }

  private:
    survey::LoadResult read(const tvd::Database &db, const QString &name) {
        const QString path = dir.filePath(name);
        if (!db.write(path.toStdString())) return {};
        return survey::load_database(path.toStdString());
    }

    int run(const QStringList &arguments) {
        QProcess process;
        process.start(RAVELIN_PLOT, arguments);
        process.waitForFinished(60000);
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return process.exitCode();
    }

    QTemporaryDir dir;
    QByteArray out, err;
};

QTEST_MAIN(ViewPageTest)
#include "test_view_page.moc"
