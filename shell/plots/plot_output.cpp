#include "plot_output.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace plots {

bool write_png(const QString &path, const survey::Database &database, const PlotItem &item,
               const PlotOptions &options, QSize size, int dpi) {
    QImage image(size, QImage::Format_RGB32);
    const int dots_per_metre = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        draw_plot(painter, QRectF(QPointF(0, 0), QSizeF(size)), database, item, options);
    }
    // Written under a temporary name and renamed only when complete.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

bool write_pdf(const QString &path, const survey::Database &database,
               const std::vector<PlotItem> &items, const PlotOptions &options) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setTitle(QStringLiteral("RAVELIN plots"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        const QRectF page(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0) pdf.newPage();
            draw_plot(painter, page, database, items[i], options);
        }
        painter.end();
    }
    return file.commit();
}

} // namespace plots
