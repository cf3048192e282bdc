// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <optional>

class QApplication;

// What both programs do before their first window.
namespace DesktopApp {

struct Identity
{
    const char *name;        // "Glyphsmith"
    const char *description; // for --help
    const char *desktopFile; // the desktop entry's id, without ".desktop"
};

// First thing in main(), before the application object: --help and --version
// print text only, so they are answered without a display (and the program ends
// there). Qt's own options (-platform, -style, ...) are known only to
// QApplication, so a command line that holds them is left to setUp().
void answerTextOptions(int &argc, char **argv, const Identity &identity);

// After the application object: the full parse (an unknown option ends the
// program), the desktop entry's name, the window icon from the compiled-in
// resources under ":/icon" (the caller runs Q_INIT_RESOURCE first; the icon is
// set once the first window has painted), and an application font that names one
// installed family, so that no window pays for resolving a generic family name
// again: `font` where the program's windows were drawn for one, else the
// system's family.
void setUp(QApplication &app, const Identity &identity, std::optional<QFont> font = {});

} // namespace DesktopApp
