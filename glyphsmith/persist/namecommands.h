// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class ModeController;
class NameComposer;
class Prompts;

// The File menu's commands that take a name back into the strip: Open Name from
// Script... (the last line of a game script that sets the name) and Paste Name
// (the clipboard's text; in the QuakeWorld modes also ezQuake's console line,
// escapes and all). The name is decoded in the current mode and set as if
// clicked; bytes the mode cannot show are left out and the user is told. A script
// without a name line, or text that is no name, changes nothing.
class NameCommands
{
public:
    NameCommands(NameComposer &composer, const ModeController &modes, Prompts &prompts);

    void openFromScript();
    void paste(const QString &clipboardText);

private:
    void take(const QByteArray &raw);

    NameComposer &m_composer;
    const ModeController &m_modes;
    Prompts &m_prompts;
};
