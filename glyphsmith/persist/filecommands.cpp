#include "filecommands.h"

FileCommands::FileCommands(const NameComposer &composer, const ModeController &modes,
                           Prompts &prompts)
    : m_composer(composer), m_modes(modes), m_prompts(prompts)
{
}

void FileCommands::saveName() {}
void FileCommands::quickSave() {}
void FileCommands::saveInGameSpy() {}
void FileCommands::exportBitmap() {}
