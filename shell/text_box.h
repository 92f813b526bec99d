// A read-only multi-line text box. Text() gives back exactly what was set (CR LF line ends
// included); the display shows one line per CR LF.
#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace ravelin {

class TextBox : public QPlainTextEdit {
  public:
    explicit TextBox(QWidget *parent = nullptr) : QPlainTextEdit(parent) {
        setReadOnly(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }

    QString Text() const { return text_; }
    void setText(const QString &text) {
        text_ = text;
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (shown.endsWith('\n')) shown.chop(1);
        setPlainText(shown);
    }

  private:
    QString text_;
};

} // namespace ravelin
