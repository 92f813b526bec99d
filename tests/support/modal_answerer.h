// ModalAnswerer: answers the modal message boxes and file dialogs a GUI test provokes, in the
// order they appear, and records every message box so the test can check it byte for byte.
//
// Use it around the action that opens the modal windows:
//
//     QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // once, before any dialog
//     ModalAnswerer answerer;
//     answerer.pressButton(QMessageBox::Ok);                  // first box: press OK
//     answerer.chooseFile("/tmp/x/line7.raw");                // then a file dialog: choose
//     form.cmdOK->click();                                    // runs until the boxes are gone
//     QCOMPARE(answerer.boxes().size(), 1);
//     QCOMPARE(answerer.boxes()[0].text, QString("..."));
//
// While an answerer lives, a timer looks every few milliseconds for the active modal widget.
// Each modal window it finds takes the next queued answer; a modal window with no answer
// queued is recorded and closed (message box: Escape-like reject; file dialog: cancel), so a test
// never hangs on a surprise box. When the answerer goes out of scope the test function fails if
// such a window appeared or an answer was left unused. A message box answered by
// pressButtonText() may carry custom buttons (e.g. "Cancel", "Try Again", "Continue").
// Everything runs on the GUI thread; the answers are given from inside the box's own event loop.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

class ModalAnswerer : public QObject {
  public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons standardButtons;
        QStringList buttonTexts; // every button's text, in the box's order
        QString defaultButtonText;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    struct FileDialog {
        QString title;
        QStringList nameFilters;
        QString directory;
        QStringList proposedFiles; // what the dialog shows selected when it opens
        QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    };

    explicit ModalAnswerer(int pollMs = 10) {
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start(pollMs);
    }

    ~ModalAnswerer() override {
        if (QTest::currentTestFailed()) return; // the first failure says more
        if (!unexpectedWindows_.isEmpty())
            QTest::qFail(
                qPrintable("a modal window nobody expected: " + unexpectedWindows_.join(" | ")),
                __FILE__, __LINE__);
        else if (!queue_.empty())
            QTest::qFail(qPrintable(QString::number(queue_.size()) +
                                    " expected modal window(s) never appeared"),
                         __FILE__, __LINE__);
    }

    // Queue answers, consumed in order by the modal windows as they appear.
    void pressButton(QMessageBox::StandardButton button) {
        queue_.push_back([button](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box) return false;
            QAbstractButton *b = box->button(button);
            if (!b) return false;
            b->click();
            return true;
        });
    }
    void pressButtonText(const QString &text) {
        queue_.push_back([text](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box) return false;
            for (QAbstractButton *b : box->buttons())
                if (b->text() == text) {
                    b->click();
                    return true;
                }
            return false;
        });
    }
    void chooseFile(const QString &path) {
        queue_.push_back([path](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (!dialog) return false;
            dialog->selectFile(path);
            // selectFile() leaves the name box alone while it has the focus; type it there.
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(path);
            // accept() is protected in QFileDialog; its own slot runs the same checks.
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            return true;
        });
    }
    void cancelFileDialog() {
        queue_.push_back([](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (!dialog) return false;
            dialog->reject();
            return true;
        });
    }
    // Any other answer: gets the modal widget, returns false when it cannot answer it.
    void answerWith(std::function<bool(QWidget *)> answer) { queue_.push_back(std::move(answer)); }

    const QList<Box> &boxes() const { return boxes_; }
    const QList<FileDialog> &fileDialogs() const { return fileDialogs_; }
    int unexpected() const { return int(unexpectedWindows_.size()); }
    bool allAnswered() const { return queue_.empty(); }

  private:
    void poll() {
        QWidget *w = QApplication::activeModalWidget();
        if (!w) {
            handled_ = nullptr; // a window shown again later counts as a new one
            return;
        }
        if (w == handled_ || !w->isVisible()) return;
        handled_ = w;
        record(w);
        if (!queue_.empty()) {
            auto answer = std::move(queue_.front());
            queue_.pop_front();
            if (answer(w)) return;
        }
        unexpectedWindows_ << w->windowTitle() + ": " + describe(w);
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    void record(QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            Box seen;
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.standardButtons = box->standardButtons();
            for (QAbstractButton *b : box->buttons())
                seen.buttonTexts << b->text();
            if (QPushButton *def = box->defaultButton()) {
                seen.defaultButtonText = def->text();
                seen.defaultButton = box->standardButton(def);
            }
            boxes_ << seen;
        } else if (auto *dialog = qobject_cast<QFileDialog *>(w)) {
            fileDialogs_ << FileDialog{dialog->windowTitle(), dialog->nameFilters(),
                                       dialog->directory().absolutePath(), dialog->selectedFiles(),
                                       dialog->fileMode()};
        }
    }

    static QString describe(QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) return box->text();
        return w->metaObject()->className();
    }

    QTimer timer_;
    std::deque<std::function<bool(QWidget *)>> queue_;
    QPointer<QWidget> handled_;
    QList<Box> boxes_;
    QList<FileDialog> fileDialogs_;
    QStringList unexpectedWindows_; // title and text (or kind) of each
};
