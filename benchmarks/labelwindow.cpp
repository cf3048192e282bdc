// SPDX-License-Identifier: GPL-3.0-or-later
// The second yardstick: a window that draws one line of text in the default
// font, so a program is compared with one that pays for loading a font too.
#include "firstshow.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Glyphsmith"));
    window.resize(554, 350);
    window.show();
    FirstShow::watch(&window);
    return app.exec();
}
