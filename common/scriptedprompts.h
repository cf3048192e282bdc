#pragma once

#include "prompts.h"

#include <QList>
#include <deque>

// Prompts for tests: answers come from queues, and every question is recorded in
// order. An empty queue answers as the user who cancels (No, nullopt, empty path).
class ScriptedPrompts : public Prompts
{
public:
    enum class Kind { Message, YesNo, Input, OpenFile, SaveFile, Folder };

    struct Asked
    {
        Kind kind;
        QString text; // message or prompt text; the title for file dialogs and folders
        QString title;
        FileRequest file; // set for OpenFile and SaveFile
    };

    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers; // for openFile and saveFile alike
    std::deque<int> filterAnswers;   // saveFile's chosen filter; 0 when empty
    std::deque<QString> folderAnswers;

    QList<Asked> asked;

    // The texts of the message boxes shown, in order.
    QStringList messages() const;

    void message(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title, bool defaultYes) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
    QString openFile(const FileRequest &request) override;
    SaveAnswer saveFile(const FileRequest &request) override;
    QString pickFolder(const QString &title) override;
};
