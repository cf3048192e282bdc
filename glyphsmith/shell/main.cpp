#include "appcontroller.h"
#include "firstshow.h"
#include "mainwindow.h"
#include "qtprompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyphsmith"));

    QtPrompts prompts;
    AppController controller(prompts);
    // Questions belong to whichever main window is open.
    QObject::connect(&controller, &AppController::mainWindowShown, &controller,
                     [&prompts](MainWindow *window) { prompts.setParent(window); });
    QObject::connect(
        &controller, &AppController::mainWindowShown, &controller,
        [](MainWindow *window) { FirstShow::watch(window); }, Qt::SingleShotConnection);
    controller.start();
    return QApplication::exec();
}
