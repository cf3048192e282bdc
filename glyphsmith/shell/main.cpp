#include "appcontroller.h"
#include "captionfit.h"
#include "desktopapp.h"
#include "firstshow.h"
#include "mainwindow.h"
#include "qtprompts.h"

#include <QApplication>

namespace {

const DesktopApp::Identity kIdentity{
    "Glyphsmith", "Compose decorated player names from the glyphs of game fonts.",
    "com.kestrelworks.glyphsmith"};

} // namespace

int main(int argc, char *argv[])
{
    DesktopApp::answerTextOptions(argc, argv, kIdentity);
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(glyphsmithicon);
    DesktopApp::setUp(app, kIdentity, CaptionFit::designFont());

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
