#pragma once

#include "configureform.h"
#include "installplaces.h"

#include <QWidget>
#include <memory>

class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QThread;

// The Configure window ("Form2"): the Quake III and the Quake game folders, and
// whether the games' own fonts are shown; below them, per folder, the installed
// games found for it and the game its names are checked for. It is not modal and
// deletes itself when closed. Save... writes everything and Cancel writes nothing;
// both then close it and ask for a fresh main window. Closing it any other way (the
// window frame, Alt+F4, Escape) is Cancel. Enter presses the focused button, and
// Save... from a field. The installed games are looked for once the window has
// been shown, off the event loop's thread.
class ConfigureDialog : public QWidget
{
    Q_OBJECT

public:
    // The dialog asks through its own Qt prompts.
    explicit ConfigureDialog(QWidget *parent = nullptr);
    // The dialog asks through `prompts`, which must outlive it.
    explicit ConfigureDialog(Prompts &prompts, QWidget *parent = nullptr);
    // The games are looked for under `places` instead of the player's own folders.
    ConfigureDialog(Prompts &prompts, const InstallPlaces &places, QWidget *parent = nullptr);
    ~ConfigureDialog() override;

Q_SIGNALS:
    void reopenMainWindow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // One folder field and what was found for it.
    struct Row
    {
        ConfigureForm::Field field;
        QLineEdit *edit = nullptr;
        QWidget *found = nullptr; // a read-only line, or a combo box when there is a choice
        QComboBox *target = nullptr;
        const char *foundName = nullptr;
        QWidget *before = nullptr; // the control the tab key goes from to `found`
    };

    void build();
    void browse(Row &row);
    void findInstallations();
    void showRow(Row &row);
    void save();
    void cancel();

    std::unique_ptr<Prompts> m_ownPrompts;
    Prompts &m_prompts;
    InstallPlaces m_places;
    ConfigureForm m_form;
    Row m_quake3{ConfigureForm::Field::Quake3Folder};
    Row m_quake{ConfigureForm::Field::QuakeFolder};
    QCheckBox *m_gameFonts = nullptr;
    std::unique_ptr<QThread> m_finder;
    bool m_handedOver = false; // the main window has been asked for
};
