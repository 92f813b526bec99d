// A picture drawn from an SVG resource at a fixed size; reports a click of the left button.
#pragma once

#include <QLabel>
#include <QString>

namespace ravelin {

class PictureBox : public QLabel {
    Q_OBJECT
  public:
    PictureBox(const QString &svgResource, QSize size, QWidget *parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    bool pressed_ = false;
};

} // namespace ravelin
