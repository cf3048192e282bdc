#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every modal question the programs ask goes through this interface, so tests can
// script the user's answers instead of blocking on a dialog.
//
// Texts are shown as given, except that a lone carriage return (the line break our
// messages carry) is shown as a line break.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A message box with one OK button.
    virtual void message(const QString &text, const QString &title) = 0;

    // A question with Yes and No; returns true for Yes. `defaultYes` picks the
    // button that Enter presses.
    virtual bool askYesNo(const QString &text, const QString &title, bool defaultYes) = 0;

    // An input box. std::nullopt when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText) = 0;

    struct FileRequest
    {
        QString title;
        QStringList filters;   // "Bitmaps (*.Bmp)" style; the first is selected
        QString startFolder;   // empty: the dialog's own choice
        QString defaultSuffix; // without the dot; empty: none
        QString initialName;   // proposed file name, may be empty
    };

    struct SaveAnswer
    {
        QString path;   // empty when cancelled
        int filter = 0; // the index in request.filters that was chosen
    };

    // File dialogs return the chosen path, or the empty text when cancelled.
    // openFile only accepts existing files; saveFile asks before overwriting, and
    // gives a name without a suffix the chosen filter's (or the default) suffix.
    virtual QString openFile(const FileRequest &request) = 0;
    virtual SaveAnswer saveFile(const FileRequest &request) = 0;

    // Folder picker: the chosen folder's path, or the empty text when the user
    // cancels or picks something that has no file-system path.
    virtual QString pickFolder(const QString &title) = 0;
};
