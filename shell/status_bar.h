// The window's status bar: one line of text that stays until it is replaced.
#pragma once

#include <QLabel>
#include <QStatusBar>

namespace ravelin {

class StatusBar : public QStatusBar {
  public:
    explicit StatusBar(QWidget *parent = nullptr) : QStatusBar(parent), label_(new QLabel(this)) {
        label_->setObjectName(QStringLiteral("StatusBar1Text"));
        label_->setTextFormat(Qt::PlainText);
        addWidget(label_, 1);
    }

    QString SimpleText() const { return label_->text(); }
    void setSimpleText(const QString &text) { label_->setText(text); }

  private:
    QLabel *label_;
};

} // namespace ravelin
