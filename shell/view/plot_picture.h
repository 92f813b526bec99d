// A widget that paints one drawing of the plots library at its own size.
#pragma once

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <functional>

class PlotPicture : public QWidget {
  public:
    using Drawing = std::function<void(QPainter &, const QRectF &)>;
    explicit PlotPicture(QWidget *parent = nullptr) : QWidget(parent) {}
    void show(Drawing drawing) {
        drawing_ = std::move(drawing);
        update();
    }

  protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (drawing_) drawing_(painter, QRectF(rect()));
    }

  private:
    Drawing drawing_;
};
