#pragma once

#include <QString>

// Starts Glyphbox from the program folder, detached and without arguments, in
// Glyphsmith's own environment; Glyphbox opens its window shown and focused. The
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

    // AppPaths::programFolder() + "/glyphbox"
    static QString programPath();

    static Result launch();
};
