// Saves a picture of each page of the window, for looking at the layout by eye:
//   xvfb-run -a shell_window_pictures OUTPUT_FOLDER
// The settings store is pointed at an empty temporary folder (a first start).
#include "form1.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ravelin::Form1 form;
    form.setProgramEnder([] {});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    const char *names[] = {"dump", "operating-system", "com-parameters", "help", "view"};
    for (int page = 0; page < form.vsIndexTab1->count() && page < std::ssize(names); ++page) {
        form.vsIndexTab1->setCurrentIndex(page);
        QTest::qWait(200);
        if (!form.grab().save(out.filePath(QStringLiteral("window-%1.png").arg(names[page]))))
            return 1;
    }
    return 0;
}
