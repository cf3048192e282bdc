#pragma once

#include "fontpicture.h"
#include "gamemodes.h"

#include <QObject>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class NameComposer;
class Prompts;

// Enters modes and colours: loads the font picture, runs the filler on the name,
// and keeps what the window shows of the mode (caption, enabled commands, the game
// family the quick-save uses). A picture that cannot be loaded, or a cancelled
// MOD dialog, changes nothing; the user is told about a failed load.
//
// With the games' own fonts switched on, the QuakeWorld and Quake III modes show
// the font the installed game draws, read from its configured folder, and the
// Quake III colours are that font tinted as the game tints it; where no font can
// be read, the shipped picture, and fontNote() says why. The MOD modes also take
// a game's archives and font files.
class ModeController : public QObject
{
    Q_OBJECT

public:
    ModeController(NameComposer &composer, Prompts &prompts, QObject *parent = nullptr);

    // The window's start-up: the Quake III mode without the menu handler.
    // ConfigKey becomes "q3config". Returns false if the picture failed to load
    // (the grid then stays empty and the program runs on).
    bool startUp();

    bool enterMode(ModeId id);

    struct GameFolders
    {
        bool useGameFonts = false;
        QString quakeWorld; // the Quake "id1" folder, or a mod's
        QString quake3;     // the Quake III "baseq3" folder, or a mod's
        // Where the installed client looks for its font, in its own order (the
        // player's home game folder first); empty: the folder above alone.
        QStringList quakeWorldFonts;
        QStringList quake3Fonts;
        // The server or client the name is checked for (GameTarget keys); empty
        // gives the family's default target.
        QByteArray quakeWorldTarget;
        QByteArray quake3Target;
    };
    // Takes effect from the next mode entry (start-up included).
    void setGameFolders(const GameFolders &folders) { m_folders = folders; }

    // Where the grid's font comes from when it is a game's own, or why the game's
    // own could not be used; empty for a shipped or chosen picture.
    QString fontNote() const { return m_fontNote; }

    // The colour list's pick, index 0..7; anything else shows the unknown-error
    // message and keeps code and picture.
    bool pickColour(int index);

    const FontPicture &fontPicture() const { return m_picture; }
    // The glyph of `cell` as drawn in the game's colour `gameColour` (0 black ...
    // 7 white) in the Quake III mode, from that colour's picture; in every other
    // mode, or for -1, the current picture's glyph.
    QImage glyph(int cell, int gameColour = -1) const;
    QString label() const { return m_label; }
    ModeId mode() const { return m_mode; }
    // The game whose facts apply to the current name: the chosen target's row.
    const GameFamily &family() const { return targetRow(GameModes::mode(m_mode).family); }
    // The game whose folder QuickSave and the profile save write into: the last
    // QuakeWorld or Quake III mode entered (Quake III at start-up).
    const GameFamily &configFamily() const { return *m_configFamily; }
    QString configKey() const { return QString::fromLatin1(m_configFamily->configKey); }
    bool quickSaveEnabled() const { return m_quickSave; }
    bool saveNameEnabled() const { return m_saveName; }
    bool gameSpyEnabled() const { return m_saveName; }
    bool colourListEnabled() const { return m_colourList; }

Q_SIGNALS:
    void pictureChanged();
    void modeChanged(); // label, enabled states or config key

private:
    const GameFamily &targetRow(FamilyId id) const;
    bool loadPicture(const QString &path);
    bool loadModeFont(const ModeInfo &info, const QString &path);
    bool loadChosenFont(const ModeInfo &info, const QString &path);
    void useGameFont(const QImage &white, const QString &note);

    NameComposer &m_composer;
    Prompts &m_prompts;
    FontPicture m_picture;
    // The game's own font in use, white; null while a shipped or chosen picture is.
    QImage m_gameFont;
    QString m_fontNote;
    GameFolders m_folders;
    // The Quake III colour pictures (or tints of the game's font), made when first needed.
    mutable std::array<std::optional<FontPicture>, 8> m_colourPictures;
    QString m_label = QStringLiteral("Mode:");
    ModeId m_mode = ModeId::Quake3;
    const GameFamily *m_configFamily = &GameFamilies::family(FamilyId::Quake3);
    bool m_quickSave = false;
    bool m_saveName = false;
    bool m_colourList = false;
};
