#include "init_module.h"

#include "main_window.h"
#include "program_identity.h"
#include "single_instance.h"
#include "x11_window_finder.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>

namespace ravelin {

namespace {

void bringToFront(QWidget *window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void showRunningCopy(const SingleInstance &instance) {
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        activateX11Window(kProductName, 10) == WindowSearch::Activated)
        return;
    if (instance.askRunningCopyToRaise()) return;
    QMessageBox box(QMessageBox::Warning, kProductName,
                    QStringLiteral("Cannot find previous running instance of ") + kProductName,
                    QMessageBox::Ok);
    box.exec();
}

void setProgramIdentity() {
    QCoreApplication::setApplicationName(kTitle);
    QCoreApplication::setApplicationVersion(QStringLiteral("1.12.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ravelin"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/ravelin/ravelin.svg")));
}

int Main(QApplication &app) {
    SingleInstance instance;
    if (!instance.becomePrimary()) {
        showRunningCopy(instance);
        return 0;
    }
    auto *form = new MainWindow;
    QObject::connect(&instance, &SingleInstance::raiseRequested, form,
                     [form] { bringToFront(form); });
    form->show();
    const int code = app.exec();
    delete form;
    return code;
}

} // namespace ravelin
