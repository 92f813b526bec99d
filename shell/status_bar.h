// The window's status bar: one line of text that stays until it is replaced. A text wider than
// the bar is shown cut in the middle, in full in its tooltip; the window never widens for it.
#pragma once

#include <QLabel>
#include <QResizeEvent>
#include <QStatusBar>

namespace ravelin {

class StatusBar : public QStatusBar {
  public:
    explicit StatusBar(QWidget *parent = nullptr) : QStatusBar(parent), label_(new Line(this)) {
        label_->setObjectName(QStringLiteral("StatusBar1Text"));
        label_->setTextFormat(Qt::PlainText);
        addWidget(label_, 1);
    }

    // The whole text, however it is shown.
    QString SimpleText() const { return label_->full; }
    void setSimpleText(const QString &text) {
        label_->full = text;
        label_->showFitted();
    }

  private:
    // A label that asks for no width of its own and shows as much of its text as fits.
    class Line : public QLabel {
      public:
        using QLabel::QLabel;
        QString full;

        QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }
        QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

        void showFitted() {
            const QString shown =
                fontMetrics().elidedText(full, Qt::ElideMiddle, contentsRect().width());
            setText(shown);
            setToolTip(shown == full ? QString() : full);
        }

      protected:
        void resizeEvent(QResizeEvent *event) override {
            QLabel::resizeEvent(event);
            if (event->size().width() != event->oldSize().width()) showFitted();
        }
    };

    Line *label_;
};

} // namespace ravelin
