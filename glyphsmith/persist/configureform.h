#pragma once

#include "fileerror.h"
#include "installation.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

class Prompts;
struct GameTarget;

// What the Configure dialog does, without the widgets: the two game folders as
// texts, each matched to the installed client it belongs to; the game each
// field's names are checked for; and whether the games' own fonts are used.
// Folders of no known client are written back verbatim (empty allowed, never
// checked for existence).
class ConfigureForm
{
public:
    enum class Field { Quake3Folder, QuakeFolder };

    // Reads the folders, their clients and targets, and the font choice; missing
    // keys give empty fields and the default targets.
    void load();

    // The installations found on this machine (InstallFinder's order). An empty
    // field gets the only installation of its game when exactly one was found;
    // a field already set keeps its folder and is matched among them.
    void setFound(const QList<Installation> &found);
    bool searched() const { return m_searched; }

    QString text(Field field) const;
    // A typed folder, matched among the found installations.
    void setText(Field field, const QString &text);

    // Browse...: the picked folder replaces the field; a cancelled picker empties it.
    void browse(Field field, Prompts &prompts);

    // The found installations of the field's game.
    QList<Installation> offered(Field field) const;
    // The one the field's folder belongs to (home or data half), if any.
    std::optional<Installation> installation(Field field) const;

    // Whether picking among the found installations could change the field: more
    // than one was found, or one that the folder is not.
    bool hasChoice(Field field) const;
    // The field's line when there is no choice, and the choice's first line when
    // the folder is none of the found: the installation's describe(playerHome),
    // or what the folder is.
    QString status(Field field, const QString &playerHome) const;
    // The lines of the choice: status() first unless the folder is one of the
    // found, then each found installation's describe(playerHome).
    QStringList choices(Field field, const QString &playerHome) const;
    int chosen(Field field) const; // the row of choices() the field is at
    // Picks row `row` of choices(): an installation's home folder (its first data
    // folder when it has no home) becomes the field. The status row changes nothing.
    void choose(Field field, int row);

    // The games the field's names can be checked for, default first.
    std::span<const GameTarget> targets(Field field) const;
    // False when the installation plays one of them (OpenArena, ioquake3).
    bool targetChoosable(Field field) const;
    // The GameTarget key in use: the installation's game, else the player's choice.
    QByteArray target(Field field) const;
    void setTarget(Field field, const QByteArray &key);

    bool gameFonts() const { return m_gameFonts; }
    void setGameFonts(bool on) { m_gameFonts = on; }

    // The folder Save writes for the field, where the scripts go: the
    // installation's home game folder (its first data folder without a home);
    // the text as typed for a folder of no known client.
    QString savedFolder(Field field) const;

    // Save...: writes both folders, their clients and targets, and the font
    // choice in one write of the settings file; when it fails, nothing is changed.
    FileError save() const;

private:
    struct Slot
    {
        QString text;
        QString client;    // as loaded, until the installations are found
        QByteArray target; // the player's choice; empty or unknown: the default
        std::optional<Installation> installation;
    };

    Slot &slot(Field field) { return field == Field::Quake3Folder ? m_quake3 : m_quake; }
    const Slot &slot(Field field) const
    {
        return field == Field::Quake3Folder ? m_quake3 : m_quake;
    }
    int offeredIndex(Field field) const; // of installation() in offered(), or -1
    void match(Field field);

    Slot m_quake3;
    Slot m_quake;
    QList<Installation> m_found;
    bool m_searched = false;
    bool m_gameFonts = false;
};
