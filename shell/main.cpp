#include "init_module.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    ravelin::setProgramIdentity();
    return ravelin::Main(app);
}
