#pragma once

#include <QString>

// Starts Glyphbox from the program folder, detached and without arguments. The
// caller ends Glyphsmith only when the start succeeded, and shows `message`
// otherwise.
class GlyphboxLauncher
{
public:
    struct Result
    {
        bool ok = false;
        QString message; // names the path and the reason; empty on success
    };

    // Set to "1" in Glyphbox's environment: the program is asked to start
    // minimized, as the menu item promises. Programs that ignore it start normally.
    static QString minimizedVariable() { return QStringLiteral("GLYPHBOX_START_MINIMIZED"); }

    // AppPaths::programFolder() + "/glyphbox"
    static QString programPath();

    static Result launch();
};
