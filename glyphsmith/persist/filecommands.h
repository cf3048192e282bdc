#pragma once

#include <QString>

class ModeController;
class NameComposer;
class Prompts;

// The File menu's commands that write the name out: Save Name, QuickSave, Save
// Name in GameSpy and Export name as Bitmap. Each asks the user through `prompts`
// and reports every outcome there; none of them changes the name. A file that
// cannot be written is reported with its path and the reason and left as it was;
// no success message follows a failure, and none comes before the last write
// succeeded. The GameSpy save writes two files and is all or nothing: when its
// second write fails, the first is taken back.
class FileCommands
{
public:
    FileCommands(const NameComposer &composer, const ModeController &modes, Prompts &prompts);

    void saveName();
    void quickSave();
    void saveInGameSpy();
    void exportBitmap();

    // The target of the last QuickSave or profile save.
    QString quickSavePath() const { return m_quickSavePath; }

    // The one check every command that writes the name into a game's files makes
    // first. An empty name (all slots blank) would blank the player's name in the
    // game; a name whose line would not read back as one name command (a line
    // break, a zero byte, a quote inside the quotes) could run the rest as console
    // commands. Either is refused with a message through `prompts` that says why,
    // naming the slot that holds a breaking byte. True when refused.
    static bool refusesName(const NameComposer &composer, Prompts &prompts);

private:
    QString gameFolderFile(const QString &fileName) const;

    const NameComposer &m_composer;
    const ModeController &m_modes;
    Prompts &m_prompts;
    QString m_quickSavePath;
};
