#include "mainwindow.h"

#include "aboutbox.h"
#include "cp1252.h"
#include "fontfamilies.h"
#include "glyphboxlauncher.h"
#include "glyphpreview.h"
#include "gridgeometry.h"
#include "gridwidget.h"
#include "helpwindow.h"
#include "links.h"
#include "namestripwidget.h"
#include "prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");

// The layout is kept in twips as designed, 15 to the pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

template <typename W> W *place(W *widget, const char *objectName, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(const char *text, QWidget *parent, const char *objectName, const QRect &geometry)
{
    return place(new QLabel(QLatin1String(text), parent), objectName, geometry);
}

QGroupBox *frame(const char *title, QWidget *parent, const char *objectName, const QRect &geometry)
{
    return place(new QGroupBox(QLatin1String(title), parent), objectName, geometry);
}

} // namespace

MainWindow::MainWindow(Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_prompts(prompts), m_modes(m_composer, prompts), m_files(m_composer, m_modes, prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle + QLatin1Char(' ') + QLatin1String(GlyphTables::kVersion) +
                   QLatin1String(" - Kestrelworks"));
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    // The layout was drawn for a narrow sans-serif face of 11-pixel height; wider
    // faces cut the longer captions.
    QFont small = font();
    small.setFamilies(FontFamilies::firstInstalledOnward(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
         QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans Condensed")}));
    small.setPixelSize(11);
    setFont(small);

    buildComposition();
    buildMenus();

    connect(&m_composer, &NameComposer::nameChanged, this, &MainWindow::showName);
    connect(&m_modes, &ModeController::pictureChanged, this, &MainWindow::showPicture);
    connect(&m_modes, &ModeController::modeChanged, this, &MainWindow::showMode);
    showName();
    showMode();
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp()
{
    m_modes.startUp();
}

void MainWindow::buildComposition()
{
    m_panel = new SidePanel(this);
    m_panel->setGeometry(twips(0, 0, 2010, 5250));
    connect(m_panel, &SidePanel::backgroundHovered, this, &MainWindow::clearHover);
    connect(m_panel, &SidePanel::itemClicked, this,
            [this](SidePanel::Item item) { activate(item, false); });
    for (int i = 0; i < SidePanel::kItems; ++i) {
        const auto item = static_cast<SidePanel::Item>(i);
        const QChar letter = SidePanel::mnemonic(item);
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.unicode())), this);
        connect(shortcut, &QShortcut::activated, this, [this, item] { activate(item, true); });
    }

    m_grid = new GridWidget(this);
    m_grid->setGeometry(twips(2160, 0, 3950, 3950));
    connect(m_grid, &GridWidget::cellHovered, this, &MainWindow::hoverCell);
    connect(m_grid, &GridWidget::cellClicked, this, &MainWindow::clickCell);

    auto *rightPanel = place(new QWidget(this), "Picture1", twips(6240, 0, 2055, 3950));

    QGroupBox *charView = frame("CharView", rightPanel, "Frame4", twips(70, 600, 1812, 1332));
    label("Regular View:", charView, "Label1", twips(120, 240, 1335, 375))
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_regularView = place(new GlyphPreview(1, charView), "RegViewChar", twips(1440, 240, 252, 252));
    label("Enlarged View:", charView, "Label2", twips(120, 600, 1092, 252));
    m_enlargedView = place(new GlyphPreview(2, charView), "Picture2", twips(1200, 600, 492, 492));
    m_charNumber = label("", charView, "Label3", twips(120, 1080, 1692, 252));
    m_charNumber->setText(GridGeometry::charNumberCaption(-1));

    QGroupBox *controls = frame("Controls", rightPanel, "Frame6", twips(70, 2040, 1812, 600));
    auto *deleteButton = place(new QPushButton(QStringLiteral("Delete"), controls), "Command1",
                               twips(120, 240, 1572, 252));
    connect(deleteButton, &QPushButton::clicked, &m_composer, &NameComposer::deleteChar);

    QGroupBox *colourFrame = frame("Q3:A Colors", rightPanel, "Frame5", twips(70, 2760, 1812, 975));
    m_colours = place(new QListWidget(colourFrame), "List1", twips(60, 240, 1704, 615));
    for (const ColourInfo &colour : GameModes::colours())
        m_colours->addItem(QLatin1String(colour.item));
    connect(m_colours, &QListWidget::currentRowChanged, &m_modes, &ModeController::pickColour);

    m_strip = new NameStripWidget(m_composer, this);
    m_strip->setGeometry(twips(2160, 3960, 6165, 396));
    connect(m_strip, &NameStripWidget::slotChosen, &m_composer, &NameComposer::selectSlot);
    connect(m_strip, &NameStripWidget::deleteRequested, &m_composer, &NameComposer::deleteChar);

    label("Raw Source Code->", this, "Label5", twips(2040, 4440, 1575, 255));
    m_rawText = place(new QLineEdit(this), "Text2", twips(3600, 4440, 4695, 288));
    // Reaches to the box rather than the drawn 81 pixels, so the arrow is not cut.
    label("Command Line->", this, "Label6", twips(2280, 4740, 1320, 255));
    m_commandText = place(new QLineEdit(this), "Text3", twips(3600, 4740, 4695, 288));
    for (QLineEdit *box : {m_rawText, m_commandText})
        box->setReadOnly(true);
    m_modeLabel = label("Mode:", this, "Label7", twips(2160, 5040, 6135, 255));
}

QAction *MainWindow::addItem(QMenu *menu, const char *objectName, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(objectName));
    return action;
}

void MainWindow::buildMenus()
{
    m_fileMenu = new QMenu(QStringLiteral("&File"), this);
    m_fileMenu->setObjectName(QStringLiteral("File"));
    connect(addItem(m_fileMenu, "NewName", QStringLiteral("&New Name")), &QAction::triggered,
            &m_composer, &NameComposer::newName);
    m_saveName = addItem(m_fileMenu, "SaveName", QStringLiteral("&Save Name"));
    connect(m_saveName, &QAction::triggered, this, [this] { m_files.saveName(); });
    m_quickSave = addItem(m_fileMenu, "quicksave", QStringLiteral("&QuickSave"));
    connect(m_quickSave, &QAction::triggered, this, [this] { m_files.quickSave(); });
    connect(addItem(m_fileMenu, "options", QStringLiteral("&Configure")), &QAction::triggered, this,
            &MainWindow::configureRequested);
    connect(addItem(m_fileMenu, "exportasbitmap", QStringLiteral("&Export name as Bitmap")),
            &QAction::triggered, this, [this] { m_files.exportBitmap(); });
    m_gameSpy = addItem(m_fileMenu, "saveingamespy", QStringLiteral("Save Name in &GameSpy\u00AE"));
    connect(m_gameSpy, &QAction::triggered, this, [this] { m_files.saveInGameSpy(); });
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("blankbar1"));
    connect(addItem(m_fileMenu, "Exit", QStringLiteral("&Exit")), &QAction::triggered, this,
            &MainWindow::confirmExit);

    m_gameMenu = new QMenu(QStringLiteral("&Game/Mode"), this);
    m_gameMenu->setObjectName(QStringLiteral("SelectGame"));
    auto addMode = [this](QMenu *menu, ModeId id) {
        const ModeInfo &mode = GameModes::mode(id);
        connect(addItem(menu, mode.objectName, QLatin1String(mode.caption)), &QAction::triggered,
                this, [this, id] { enterMode(id); });
    };
    struct Family
    {
        const char *objectName;
        const char *caption;
        ModeId first;
        ModeId second;
    };
    const Family families[] = {
        {"LoadQuakeWorld", "QuakeWorld (Quake)", ModeId::QuakeWorld, ModeId::QuakeWorldMod},
        {"LoadQ2", "Quake II", ModeId::Quake2, ModeId::RivCtf},
        {"LoadHexen2", "Hexen II", ModeId::Hexen2, ModeId::Hexen2Mod},
    };
    for (const Family &family : families) {
        QMenu *sub = m_gameMenu->addMenu(QLatin1String(family.caption));
        sub->setObjectName(QLatin1String(family.objectName));
        sub->menuAction()->setObjectName(QLatin1String(family.objectName));
        addMode(sub, family.first);
        addMode(sub, family.second);
    }
    m_gameMenu->addSeparator()->setObjectName(QStringLiteral("blankbar2"));
    for (const ModeInfo &mode : GameModes::modes()) {
        const bool inFamily =
            std::any_of(std::begin(families), std::end(families), [&](const Family &family) {
                return mode.id == family.first || mode.id == family.second;
            });
        if (!inFamily)
            addMode(m_gameMenu, mode.id);
    }
    m_gameMenu->addSeparator()->setObjectName(QStringLiteral("blank10"));
    connect(addItem(m_gameMenu, "glyphbox", QStringLiteral("Glyphbox [BETA!]")),
            &QAction::triggered, this, &MainWindow::startGlyphbox);

    m_helpMenu = new QMenu(QStringLiteral("&About/Help"), this);
    m_helpMenu->setObjectName(QStringLiteral("About"));
    connect(addItem(m_helpMenu, "AboutHelp", QStringLiteral("&About")), &QAction::triggered, this,
            [] { AboutBox::showInstance(); });
    connect(addItem(m_helpMenu, "EmailMe", QStringLiteral("&Email me")), &QAction::triggered, this,
            [] { Links::open(Links::Target::Email); });
    connect(addItem(m_helpMenu, "HelpMe", QStringLiteral("&Help")), &QAction::triggered, this,
            [] { HelpWindow::showInstance(); });
    connect(addItem(m_helpMenu, "GotoHomepage", QStringLiteral("&Kestrelworks Homepage")),
            &QAction::triggered, this, [] { Links::open(Links::Target::Homepage); });
    connect(addItem(m_helpMenu, "gshomepage", QStringLiteral("&GameSpy\u00AE Homepage")),
            &QAction::triggered, this, [] { Links::open(Links::Target::GameSpy); });
}

void MainWindow::activate(SidePanel::Item item, bool fromKeyboard)
{
    const QPoint at = fromKeyboard ? m_panel->menuAnchor(item) : QCursor::pos();
    switch (item) {
    case SidePanel::Item::File:
        m_fileMenu->exec(at);
        break;
    case SidePanel::Item::GameMode:
        m_gameMenu->exec(at);
        break;
    case SidePanel::Item::Help:
        m_helpMenu->exec(at);
        break;
    case SidePanel::Item::CopyRaw:
        QGuiApplication::clipboard()->setText(Cp1252::toUnicode(m_composer.rawName()));
        break;
    case SidePanel::Item::CopyCommand:
        QGuiApplication::clipboard()->setText(Cp1252::toUnicode(m_composer.commandText()));
        break;
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare background clears the hover; moves that children pass up (the
    // right panel, the output boxes) leave it as it is.
    if (!childAt(event->position().toPoint()))
        clearHover();
}

void MainWindow::clearHover()
{
    m_grid->hideHighlight();
    m_panel->hideHighlight();
    m_regularView->clear();
    m_enlargedView->clear();
    m_charNumber->setText(GridGeometry::charNumberCaption(-1));
}

void MainWindow::hoverCell(int cell)
{
    m_charNumber->setText(GridGeometry::charNumberCaption(cell));
    const QImage glyph = m_modes.fontPicture().glyph(cell);
    m_regularView->setGlyph(glyph);
    m_enlargedView->setGlyph(glyph);
}

void MainWindow::clickCell(int cell)
{
    const QString message = m_composer.clickCell(cell, m_modes.fontPicture().image());
    if (!message.isEmpty())
        m_prompts.message(message, kTitle);
}

void MainWindow::enterMode(ModeId id)
{
    if (!m_modes.enterMode(id))
        return;
    // A fresh mode writes white (or no colour at all), so a leftover pick in the list
    // would be a lie; cleared without a signal, as clearing is not a pick.
    const QSignalBlocker blocker(m_colours);
    m_colours->setCurrentRow(-1);
}

void MainWindow::showPicture()
{
    m_grid->setPicture(m_modes.fontPicture().image());
}

void MainWindow::showMode()
{
    m_modeLabel->setText(m_modes.label());
    m_quickSave->setEnabled(m_modes.quickSaveEnabled());
    m_saveName->setEnabled(m_modes.saveNameEnabled());
    m_gameSpy->setEnabled(m_modes.gameSpyEnabled());
    m_colours->setEnabled(m_modes.colourListEnabled());
}

void MainWindow::showName()
{
    m_rawText->setText(Cp1252::toDisplay(m_composer.rawName()));
    m_commandText->setText(Cp1252::toDisplay(m_composer.commandText()));
    // Show the start of the text, as a fresh box would.
    m_rawText->setCursorPosition(0);
    m_commandText->setCursorPosition(0);
}

void MainWindow::confirmExit()
{
    if (m_prompts.askYesNo(QStringLiteral("Are you sure you want to exit?"),
                           QStringLiteral("Exit?"), false))
        Q_EMIT quitRequested();
}

void MainWindow::startGlyphbox()
{
    const GlyphboxLauncher::Result result = GlyphboxLauncher::launch();
    if (result.ok)
        Q_EMIT quitRequested();
    else
        m_prompts.message(result.message, kTitle);
}
