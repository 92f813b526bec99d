#include "print_surface.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace ravelin {

PaintDeviceSurface::PaintDeviceSurface(QPagedPaintDevice *device, std::unique_ptr<QPainter> painter)
    : device_(device), painter_(std::move(painter)) {}

PaintDeviceSurface::~PaintDeviceSurface() {
    if (painter_ && painter_->isActive()) painter_->end();
}

std::unique_ptr<PaintDeviceSurface> PaintDeviceSurface::begin(QPagedPaintDevice *device,
                                                              QString *failure) {
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(device)) {
        *failure = QStringLiteral("The printer cannot be started");
        return nullptr;
    }
    auto surface =
        std::unique_ptr<PaintDeviceSurface>(new PaintDeviceSurface(device, std::move(painter)));
    surface->applyFont();
    return surface;
}

void PaintDeviceSurface::setFont(const QString &family, int pointSize) {
    font_.setFamily(family);
    font_.setPointSize(pointSize);
    // Where the named face is missing, take another fixed-pitch face so columns still line up.
    font_.setStyleHint(QFont::TypeWriter);
    applyFont();
}

void PaintDeviceSurface::setBold(bool bold) {
    font_.setBold(bold);
    applyFont();
}

// The painter measures in the device's own resolution, so the font is set on the painter
// (not on a screen font) before any metrics are taken.
void PaintDeviceSurface::applyFont() {
    painter_->setFont(font_);
}

int PaintDeviceSurface::pageWidth() const {
    return device_->width();
}
int PaintDeviceSurface::pageHeight() const {
    return device_->height();
}

void PaintDeviceSurface::print(const QString &text, bool lineEnd) {
    const QFontMetrics metrics = painter_->fontMetrics();
    if (y_ > 0 && y_ + metrics.height() > pageHeight()) {
        device_->newPage();
        x_ = 0;
        y_ = 0;
    }
    if (!text.isEmpty()) {
        painter_->setPen(Qt::black);
        painter_->drawText(QPoint(x_, y_ + metrics.ascent()), text);
        x_ += metrics.horizontalAdvance(text);
    }
    if (lineEnd) {
        x_ = 0;
        y_ += metrics.height();
    }
}

void PaintDeviceSurface::drawLine(int x1, int y1, int x2, int y2, const QColor &color) {
    painter_->setPen(QPen(color, 0));
    painter_->drawLine(x1, y1, x2, y2);
}

bool PaintDeviceSurface::endDocument(QString *failure) {
    if (!painter_->end()) {
        *failure = QStringLiteral("The printout could not be finished");
        return false;
    }
    return true;
}

} // namespace ravelin
