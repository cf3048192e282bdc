#include "charform.h"
#include "desktopapp.h"
#include "firstshow.h"
#include "keystore.h"
#include "qtprompts.h"

#include <QApplication>

namespace {

const DesktopApp::Identity kIdentity{
    "Glyphbox",
    "Character map: the characters 32 to 255 of any installed font, and how to type them.",
    "com.kestrelworks.glyphbox"};

} // namespace

int main(int argc, char *argv[])
{
    DesktopApp::answerTextOptions(argc, argv, kIdentity);
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(glyphboxicon);
    DesktopApp::setUp(app, kIdentity);

    QtPrompts prompts;
    CharForm window(prompts, KeyStore::userStore());
    prompts.setParent(&window);
    // Shown and focused also when glyphsmith starts it and ends: a minimized
    // window vanishes on desktops without a task bar.
    window.show();
    window.raise();
    window.activateWindow();
    FirstShow::watch(&window);
    return app.exec();
}
