#pragma once

#include "filecommands.h"
#include "gamemodes.h"
#include "modecontroller.h"
#include "namecommands.h"
#include "namecomposer.h"
#include "sidepanel.h"

#include <QWidget>

class GlyphPreview;
class GridWidget;
class InGameView;
class NameStripWidget;
class Prompts;
class QAction;
class QLabel;
class OutputBox;
class QListWidget;
class QMenu;
class QPushButton;
class StatusLine;

// Glyphsmith's main window (Form1), 554 x 412 pixels, fixed: the side panel and its
// pop-up menus, the character grid with its preview, the name strip, the Quake III
// colours, the two output boxes and, below the mode caption, the name check's line
// and the in-game view. It owns the name and the mode for as long as it is open;
// closing it discards both. Every question goes to `prompts`, which must outlive
// the window.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 554;
    static constexpr int kHeight = 412; // the designed 350, then the check and the in-game view

    explicit MainWindow(Prompts &prompts, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Enters the Quake III mode. A font picture that fails to load has been reported
    // by then; the window runs on with an empty grid.
    void startUp();

    NameComposer &composer() { return m_composer; }
    ModeController &modes() { return m_modes; }

Q_SIGNALS:
    // File > Configure: the window is to make way for the Configure window.
    void configureRequested();
    // Exit was confirmed, or Glyphbox started: the program is to end.
    void quitRequested();

protected:
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildComposition();
    void fitCaptions();
    void buildMenus();
    QAction *addItem(QMenu *menu, const char *objectName, const QString &caption);

    void activate(SidePanel::Item item, bool fromKeyboard);
    void clearHover();
    void hoverCell(int cell);
    void clickCell(int cell);
    void enterMode(ModeId id);
    void showPicture();
    void showMode();
    void showName();
    void showCheck();
    void pasteName();
    void confirmExit();
    void startGlyphbox();

    Prompts &m_prompts;
    NameComposer m_composer;
    ModeController m_modes;
    FileCommands m_files;
    NameCommands m_names;

    SidePanel *m_panel = nullptr;
    GridWidget *m_grid = nullptr;
    GlyphPreview *m_regularView = nullptr;
    GlyphPreview *m_enlargedView = nullptr;
    QLabel *m_charNumber = nullptr;
    NameStripWidget *m_strip = nullptr;
    QListWidget *m_colours = nullptr;
    QPushButton *m_deleteButton = nullptr;
    OutputBox *m_rawText = nullptr;
    OutputBox *m_commandText = nullptr;
    QLabel *m_modeLabel = nullptr;
    StatusLine *m_checkLine = nullptr;
    InGameView *m_inGame = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_gameMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_saveName = nullptr;
    QAction *m_quickSave = nullptr;
    QAction *m_gameSpy = nullptr;
};
