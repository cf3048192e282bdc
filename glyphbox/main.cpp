#include "charform.h"
#include "firstshow.h"
#include "keystore.h"
#include "qtprompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QtPrompts prompts;
    CharForm window(prompts, KeyStore::userStore());
    prompts.setParent(&window);
    // Started from glyphsmith's menu, the window opens minimized.
    if (qEnvironmentVariableIsSet("GLYPHBOX_START_MINIMIZED"))
        window.showMinimized();
    else
        window.show();
    FirstShow::watch(&window);
    return app.exec();
}
