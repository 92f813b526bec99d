#include "plot_painter.h"

#include "plot_frame.h"
#include "plot_kinds.h"
#include "reduced_gravity_plot.h"

#include <QPainter>

namespace plots {

QString chargeability_title(const PlotOptions &options, bool compact) {
    if (options.channel < 0)
        return compact ? QStringLiteral("Mean M (mV/V)")
                       : QStringLiteral("Chargeability, mean of M channels (mV/V)");
    return (compact ? QStringLiteral("M%1 (mV/V)") : QStringLiteral("Chargeability M%1 (mV/V)"))
        .arg(options.channel + 1);
}

void draw_plot(QPainter &painter, const QRectF &area, const survey::Database &database,
               const PlotItem &item, const PlotOptions &options,
               std::vector<PlacedReading> *placed) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const double title = draw_title(painter, area, QString::fromStdString(item.title));
    const QRectF body = area.adjusted(0, title, 0, 0);
    if (item.kind == PlotKind::ReducedGravity || item.kind == PlotKind::GravityLoops) {
        if (options.reduction && item.kind == PlotKind::ReducedGravity)
            draw_reduced_profile(painter, body, *options.reduction, item.line);
        else if (options.reduction)
            draw_gravity_loops(painter, body, *options.reduction);
        painter.restore();
        return;
    }
    if (item.survey >= database.surveys.size()) {
        painter.restore();
        return;
    }
    const survey::Survey &survey = database.surveys[item.survey];
    if (item.kind == PlotKind::GravityDrift) {
        draw_gravity_drift(painter, body, survey);
    } else if (item.line < survey.lines.size()) {
        const survey::Line &line = survey.lines[item.line];
        switch (item.kind) {
        case PlotKind::PseudoSection: {
            const auto excluded = options.excluded.find({item.survey, item.line});
            draw_pseudo_section(painter, body, line, options,
                                excluded == options.excluded.end() ? std::vector<bool>{}
                                                                   : excluded->second,
                                placed);
            break;
        }
        case PlotKind::Sounding:
            draw_sounding(painter, body, line, options, placed);
            break;
        default:
            draw_gravity_line(painter, body, line);
            break;
        }
    }
    painter.restore();
}

} // namespace plots
