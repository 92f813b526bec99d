// ravelin-bench-plot: a full 12.5 MB VIREL memory, converted once, then loaded into the survey
// model and drawn: the time to load the database and draw its first profile, and the time to
// write every plot to one PDF. Reports the best and the median of the runs.
//
//   ravelin-bench-plot [--runs N] [--dir FOLDER]
#include "convert.h"
#include "plot_output.h"
#include "plot_painter.h"
#include "samples.h"
#include "survey_reader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void report(const char *what, std::vector<double> times, double target) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("  %-40s best %.3f s, median %.3f s (target under %.1f s: %s)\n", what,
                times.front(), median, target, median < target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int runs = 3;
    fs::path dir = fs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else {
            std::fprintf(stderr, "usage: ravelin-bench-plot [--runs N] [--dir FOLDER]\n");
            return 2;
        }
    }
    dir /= "ravelin-bench-plot-" + std::to_string(QCoreApplication::applicationPid());
    fs::create_directories(dir);
    const fs::path raw = dir / "bench.raw";
    {
        const auto bytes = ravelin::sample::build_virel(ravelin::sample::full_memory_virel_shape());
        std::ofstream(raw, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    const std::int16_t keep = 1;
    if (dumpdec::convert(raw.string(), &keep).result != 1) {
        std::fprintf(stderr, "ravelin-bench-plot: the conversion failed\n");
        fs::remove_all(dir);
        return 1;
    }
    const std::string tvd = (dir / "bench.tvd").string();

    std::vector<double> first_plot, whole_pdf;
    std::size_t readings = 0, pages = 0;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const survey::LoadResult loaded = survey::load_database(tvd);
        const std::vector<plots::PlotItem> items = plots::plot_items(loaded.database);
        QImage image(1500, 1000, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            plots::draw_plot(painter, image.rect(), loaded.database, items.at(0), {});
        }
        first_plot.push_back(seconds_since(start));

        const Clock::time_point pdf_start = Clock::now();
        if (!plots::write_pdf(QString::fromStdString((dir / "bench.pdf").string()), loaded.database,
                              items, {})) {
            std::fprintf(stderr, "ravelin-bench-plot: cannot write the PDF\n");
            fs::remove_all(dir);
            return 1;
        }
        whole_pdf.push_back(seconds_since(pdf_start));
        readings = 0;
        for (const survey::Survey &s : loaded.database.surveys)
            for (const survey::Line &line : s.lines)
                readings += line.ip_readings.size();
        pages = items.size();
    }
    std::printf("Plot benchmark: %.2f MB VIREL memory, %zu IP readings, %zu plots, %d runs\n",
                fs::file_size(raw) / (1024.0 * 1024.0), readings, pages, runs);
    report("load and draw the first profile:", first_plot, 0.5);
    report("write every plot to one PDF:", whole_pdf, 5.0);
    fs::remove_all(dir);
    return 0;
}
