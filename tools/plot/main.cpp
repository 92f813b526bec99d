// ravelin-plot FILE.tvd [--out FILE.png|FILE.pdf] [--profile N] [--channel K]: draws the
// pseudo-sections, sounding curves and gravity profiles of a converted database. Without --out
// it writes NAME-plots.pdf beside the file, one page per plot, and prints the path it wrote.
// Readings NAME.exclude leaves out are drawn crossed out. Exit status: 0 a file was written, 1
// nothing to plot, the file could not be read or written, or a line of NAME.exclude could not be
// read (the plots are written without it), 2 bad arguments.
#include "exclusions.h"
#include "output_name.h"
#include "plot_output.h"
#include "survey_reader.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

namespace {

int fail(const QString &message, int status) {
    std::fprintf(stderr, "ravelin-plot: %s\n", qPrintable(message));
    return status;
}

// A whole number from 1 up; 0 when the text is not one.
int positive_number(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

int main(int argc, char **argv) {
    // The arguments are read before the application exists, so --help and --version answer
    // without starting the drawing platform (which may talk on standard error).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws the pseudo-sections, sounding curves and gravity profiles of a "
                       "converted database (.tvd)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Write FILE.png (one plot) or FILE.pdf instead of "
                                                "NAME-plots.pdf beside the database."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption profile(QStringLiteral("profile"),
                                     QStringLiteral("Draw only the N-th profile (from 1)."),
                                     QStringLiteral("N"));
    const QCommandLineOption channel(
        QStringLiteral("channel"),
        QStringLiteral("Show M channel K (from 1) as chargeability; default the mean."),
        QStringLiteral("K"));
    parser.addOptions({out, profile, channel});
    parser.addPositionalArgument(QStringLiteral("FILE.tvd"),
                                 QStringLiteral("A converted database."));

    if (!parser.parse(arguments))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"), 2);
    if (parser.isSet(help)) {
        // Without an application object Qt names the program "<executable_name>".
        const QString text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                       QStringLiteral("ravelin-plot"));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("ravelin-plot %s\n", RAVELIN_VERSION);
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("give exactly one FILE.tvd (see --help)"), 2);
    const QString database_path = parser.positionalArguments().first();
    QString out_path = parser.value(out);
    const bool png = out_path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
    if (parser.isSet(out) && !png &&
        !out_path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return fail(QStringLiteral("--out must name a .png or .pdf file"), 2);
    const int profile_number = parser.isSet(profile) ? positive_number(parser.value(profile)) : -1;
    if (profile_number == 0) return fail(QStringLiteral("--profile takes a number from 1"), 2);
    plots::PlotOptions options;
    if (parser.isSet(channel)) {
        const int k = positive_number(parser.value(channel));
        if (k == 0) return fail(QStringLiteral("--channel takes a number from 1"), 2);
        options.channel = k - 1;
    }

    // Plots are drawn off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const survey::LoadResult loaded = survey::load_database(database_path.toStdString());
    if (loaded.stop == survey::LoadStop::CannotOpen)
        return fail(QString::fromStdString(survey::stop_reason(loaded)), 1);
    if (!loaded.complete())
        std::fprintf(stderr, "ravelin-plot: %s Plotting what was read before.\n",
                     survey::stop_reason(loaded).c_str());

    std::vector<plots::PlotItem> items = plots::plot_items(loaded.database);
    if (items.empty())
        return fail(database_path +
                        QStringLiteral(" holds nothing to plot: no IP or gravity readings."),
                    1);
    if (profile_number > 0) {
        std::vector<plots::PlotItem> profiles;
        for (const plots::PlotItem &item : items)
            if (item.kind == plots::PlotKind::PseudoSection) profiles.push_back(item);
        if (static_cast<std::size_t>(profile_number) > profiles.size())
            return fail(QStringLiteral("%1 holds %2 profiles, not %3.")
                            .arg(database_path)
                            .arg(profiles.size())
                            .arg(profile_number),
                        1);
        items = {profiles[static_cast<std::size_t>(profile_number - 1)]};
    }

    const exports::Exclusions exclusions =
        exports::read_exclusions(exports::exclusions_path(database_path.toStdString()));
    for (const std::string &error : exclusions.errors)
        std::fprintf(stderr, "ravelin-plot: %s\n", error.c_str());
    options.excluded = exports::excluded_lines(exclusions, loaded.database);

    if (out_path.isEmpty())
        out_path =
            QString::fromStdString(ravelin::output_name(database_path.toStdString(), "-plots.pdf"));
    const bool written = png ? plots::write_png(out_path, loaded.database, items.front(), options)
                             : plots::write_pdf(out_path, loaded.database, items, options);
    if (!written) return fail(QStringLiteral("cannot write ") + out_path, 1);
    std::printf("%s\n", qPrintable(out_path));
    return exclusions.errors.empty() ? 0 : 1;
}
