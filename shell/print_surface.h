// A printing surface with a current print position, as the survey printout is written: text is
// printed with or without a line end at the current position, lines are drawn between points,
// and the page breaks by itself when a line no longer fits. Units are the device's own.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPainter;

namespace ravelin {

class PrintSurface {
  public:
    virtual ~PrintSurface() = default;
    virtual void setFont(const QString &family, int pointSize) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void print(const QString &text, bool lineEnd) = 0;
    virtual int currentX() const = 0;
    virtual int currentY() const = 0;
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, const QColor &color) = 0;
    // Ends the document: the printer receives the job, or the file is written.
    virtual bool endDocument(QString *failure) = 0;
};

// The surface over a printer or a PDF writer. The device must outlive the surface.
class PaintDeviceSurface final : public PrintSurface {
  public:
    // Starts painting on the device; false with a description when it cannot be started.
    static std::unique_ptr<PaintDeviceSurface> begin(QPagedPaintDevice *device, QString *failure);
    ~PaintDeviceSurface() override;

    void setFont(const QString &family, int pointSize) override;
    void setBold(bool bold) override;
    void print(const QString &text, bool lineEnd) override;
    int currentX() const override { return x_; }
    int currentY() const override { return y_; }
    int pageWidth() const override;
    int pageHeight() const override;
    void drawLine(int x1, int y1, int x2, int y2, const QColor &color) override;
    bool endDocument(QString *failure) override;

  private:
    PaintDeviceSurface(QPagedPaintDevice *device, std::unique_ptr<QPainter> painter);
    void applyFont();

    QPagedPaintDevice *device_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    int x_ = 0;
    int y_ = 0;
};

} // namespace ravelin
