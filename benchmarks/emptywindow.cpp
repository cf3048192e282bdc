// The yardstick: the smallest Qt Widgets program that shows a window.
#include "firstshow.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(554, 350);
    window.show();
    FirstShow::watch(&window);
    return app.exec();
}
