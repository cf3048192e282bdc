#pragma once

#include <QUrl>

// The addresses behind the Help menu's "&Email me", "&Kestrelworks Homepage" and
// "&GameSpy® Homepage", kept here and nowhere else.
class Links
{
public:
    enum class Target { Email, Homepage, GameSpy };

    static QUrl url(Target target);

    // Hands the address to the desktop's default handler (browser, mail client).
    // A failure to open is silent, as the user can see nothing happened.
    static void open(Target target);
};
