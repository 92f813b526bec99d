// A progress bar holding a value 0 to 100 and showing a caption text instead of a percentage.
#pragma once

#include <QProgressBar>
#include <QString>

namespace ravelin {

class ProgressIndicator : public QProgressBar {
  public:
    explicit ProgressIndicator(QWidget *parent = nullptr) : QProgressBar(parent) {
        setRange(0, 100);
        setValue(0);
        setTextVisible(true);
        setAlignment(Qt::AlignCenter);
    }

    QString Caption() const { return caption_; }
    void setCaption(const QString &caption) {
        caption_ = caption;
        update();
    }
    // The caption as written, never expanded like a format ("%p" stays "%p").
    QString text() const override { return caption_; }

    int Value() const { return value(); }
    void setValue(int value) { QProgressBar::setValue(qBound(0, value, 100)); }

  private:
    QString caption_;
};

} // namespace ravelin
