#pragma once

#include "fileerror.h"

#include <QString>

class Prompts;

// What the Configure dialog does, without the widgets: the two game folders as
// texts, loaded from the settings and written back verbatim (empty allowed, never
// checked for existence), and whether the games' own fonts are used.
class ConfigureForm
{
public:
    enum class Field { Quake3Folder, QuakeFolder };

    // Reads both folders from the settings; missing keys give empty fields.
    void load();

    QString text(Field field) const;
    void setText(Field field, const QString &text);

    // Browse...: the picked folder replaces the field; a cancelled picker empties it.
    void browse(Field field, Prompts &prompts);

    bool gameFonts() const { return m_gameFonts; }
    void setGameFonts(bool on) { m_gameFonts = on; }

    // Save...: writes both folders and the font choice in one write of the
    // settings file; when it fails, nothing is changed.
    FileError save() const;

private:
    QString m_quake3Folder;
    QString m_quakeFolder;
    bool m_gameFonts = false;
};
