#include "mainwindow.h"

#include "aboutbox.h"
#include "captionfit.h"
#include "contrast.h"
#include "cp1252.h"
#include "framebox.h"
#include "glyphboxlauncher.h"
#include "glyphpreview.h"
#include "configuredgame.h"
#include "glyphsettings.h"
#include "gridgeometry.h"
#include "gridwidget.h"
#include "helpwindow.h"
#include "ingamename.h"
#include "ingameview.h"
#include "installfinder.h"
#include "links.h"
#include "namecheck.h"
#include "namestripwidget.h"
#include "outputbox.h"
#include "prompts.h"
#include "statusline.h"
#include "twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <cmath>

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");

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

FrameBox *frame(const char *title, QWidget *parent, const char *objectName, const QRect &geometry)
{
    return place(new FrameBox(QLatin1String(title), parent), objectName, geometry);
}

// A colour list entry: the swatch of the colour the game draws, framed so black
// shows, and the name close beside it, so "Magenta" fits half the list's width.
class ColourDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        // Exactly one grid cell: four rows must fill the list without scrolling.
        const auto *view = qobject_cast<const QListView *>(option.widget);
        return view ? view->gridSize() : QSize(55, 14);
    }

    static constexpr int kSide = 8;

    // The swatch, 8 pixels square beside the row's left edge, on whole device
    // pixels and in the middle of the row's device pixels: on a screen scaled by a
    // fraction, logical pixels would put it off-centre and its frame off its fill.
    static QRectF swatchRect(const QRect &row, qreal ratio)
    {
        const int side = int(std::lround(kSide * ratio));
        const int top = int(std::lround(row.top() * ratio));
        const int height = int(std::lround((row.bottom() + 1) * ratio)) - top;
        const int left = int(std::lround((row.left() + 2) * ratio));
        return QRectF(left / ratio, (top + (height - side) / 2) / ratio, side / ratio,
                      side / ratio);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        item.text.clear();
        item.icon = QIcon();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

        const QRectF box = swatchRect(option.rect, painter->device()->devicePixelRatioF());
        // A grey frame of whole device pixels, so black shows on the list's face.
        const qreal ratio = painter->device()->devicePixelRatioF();
        const qreal edge = std::max(1.0, std::floor(ratio)) / ratio;
        painter->fillRect(box, QColor(0x80, 0x80, 0x80));
        painter->fillRect(box.adjusted(edge, edge, -edge, -edge),
                          index.data(Qt::DecorationRole).value<QColor>());
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(kSide + 5, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    }
};

// What a cell adds, as a screen reader should say it: the characters, a space as
// "space", codes text cannot show by number.
QString spoken(const QByteArray &bytes)
{
    QStringList words;
    QByteArray run;
    auto endRun = [&] {
        if (!run.isEmpty())
            words.append(Cp1252::toUnicode(run));
        run.clear();
    };
    for (char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code > ' ' && code != 0x7F) {
            run.append(byte);
            continue;
        }
        endRun();
        words.append(code == ' ' ? QStringLiteral("space") : QStringLiteral("code %1").arg(code));
    }
    endRun();
    return words.isEmpty() ? QStringLiteral("nothing") : words.join(QLatin1Char(' '));
}

} // namespace

MainWindow::MainWindow(Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_prompts(prompts), m_modes(m_composer, prompts), m_files(m_composer, m_modes, prompts),
      m_names(m_composer, m_modes, prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle + QLatin1Char(' ') + QLatin1String(GlyphTables::kVersion) +
                   QLatin1String(" - Kestrelworks"));
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    // The face the layout was drawn for, the application's too, so one font file
    // serves both; fitCaptions() makes it smaller where a wider face cuts a caption.
    // No merging: every character the window shows is in it (the output boxes draw
    // control codes with the game's glyphs), and a merging font would make Qt search
    // the fallbacks against every installed family for a character it lacks.
    QFont small = CaptionFit::designFont();
    small.setStyleStrategy(QFont::NoFontMerging);
    setFont(small);

    buildComposition();
    fitCaptions();
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
    // Read once per window: Configure always hands over to a fresh one.
    ModeController::GameFolders folders;
    folders.useGameFonts =
        GlyphSettings::read(QLatin1String(GlyphSettings::kGameFonts)) == QLatin1String("yes");
    // Each folder with the installed client it belongs to: its font is searched
    // over the client's home and data, and the name is checked for its game.
    const QList<Installation> found = InstallFinder::find(InstallPlaces::fromEnvironment());
    const ConfiguredGame quake = ConfiguredGames::fromSettings(ConfigureField::Quake, found);
    const ConfiguredGame quake3 = ConfiguredGames::fromSettings(ConfigureField::QuakeIII, found);
    folders.quakeWorld = quake.folder;
    folders.quakeWorldFonts = quake.fontFolders();
    folders.quakeWorldTarget = quake.targetKey();
    folders.quake3 = quake3.folder;
    folders.quake3Fonts = quake3.fontFolders();
    folders.quake3Target = quake3.targetKey();
    m_modes.setGameFolders(folders);
    m_modes.startUp();
}

void MainWindow::buildComposition()
{
    m_panel = new SidePanel(this);
    m_panel->setGeometry(0, 0, twips(0, 0, 2010, 0).width(), kHeight);
    connect(m_panel, &SidePanel::backgroundHovered, this, &MainWindow::clearHover);
    connect(m_panel, &SidePanel::itemClicked, this,
            [this](SidePanel::Item item) { activate(item, false); });
    connect(m_panel, &SidePanel::itemActivated, this,
            [this](SidePanel::Item item) { activate(item, true); });
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

    FrameBox *charView = frame("CharView", rightPanel, "Frame4", twips(70, 600, 1812, 1332));
    label("Regular View:", charView, "Label1", twips(120, 240, 1335, 375))
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_regularView = place(new GlyphPreview(1, charView), "RegViewChar", twips(1440, 240, 252, 252));
    label("Enlarged View:", charView, "Label2", twips(120, 600, 1092, 252));
    m_enlargedView = place(new GlyphPreview(2, charView), "Picture2", twips(1200, 600, 492, 492));
    m_charNumber = label("", charView, "Label3", twips(120, 1080, 1692, 252));
    m_charNumber->setText(GridGeometry::charNumberCaption(-1));

    FrameBox *controls = frame("Controls", rightPanel, "Frame6", twips(70, 2040, 1812, 600));
    m_deleteButton = place(new QPushButton(QStringLiteral("Delete"), controls), "Command1",
                           twips(120, 240, 1572, 252));
    connect(m_deleteButton, &QPushButton::clicked, &m_composer, &NameComposer::deleteChar);

    // All eight colours in view at once: the frame reaches down to the panel's
    // bottom, and the list runs in two columns of four, each with its swatch.
    FrameBox *colourFrame = frame("Q3:A Colors", rightPanel, "Frame5", twips(70, 2760, 1812, 1185));
    m_colours = place(new QListWidget(colourFrame), "List1", twips(60, 240, 1704, 900));
    m_colours->setFlow(QListView::TopToBottom);
    m_colours->setWrapping(true);
    m_colours->setUniformItemSizes(true);
    m_colours->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_colours->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_colours->setItemDelegate(new ColourDelegate(m_colours));
    for (const ColourInfo &colour : GameModes::colours()) {
        auto *item = new QListWidgetItem(QLatin1String(colour.item), m_colours);
        item->setData(Qt::DecorationRole, QColor::fromRgb(colour.swatch));
    }
    connect(m_colours, &QListWidget::currentRowChanged, &m_modes, &ModeController::pickColour);

    m_strip = new NameStripWidget(m_composer, this);
    m_strip->setGeometry(twips(2160, 3960, 6165, 396));
    connect(m_strip, &NameStripWidget::slotChosen, &m_composer, &NameComposer::selectSlot);
    connect(m_strip, &NameStripWidget::deleteRequested, &m_composer, &NameComposer::deleteChar);
    connect(m_strip, &NameStripWidget::backspaceRequested, &m_composer,
            &NameComposer::deleteCharBefore);

    label("Raw Source Code->", this, "Label5", twips(2040, 4440, 1575, 255));
    m_rawText = place(new OutputBox(this), "Text2", twips(3600, 4440, 4695, 288));
    // Reaches to the box rather than the drawn 81 pixels, so the arrow is not cut.
    label("Command Line->", this, "Label6", twips(2280, 4740, 1320, 255));
    m_commandText = place(new OutputBox(this), "Text3", twips(3600, 4740, 4695, 288));
    m_modeLabel = label("Mode:", this, "Label7", twips(2160, 5040, 6135, 255));

    // Below the designed window: what the game will make of the name.
    m_checkLine = place(new StatusLine(this), "NameCheck", QRect(144, 355, 409, 17));
    FrameBox *inGameFrame = frame("In game", this, "InGameFrame", QRect(144, 373, 410, 36));
    m_inGame = place(new InGameView(inGameFrame), "InGame", QRect(4, 13, 402, 19));

    // Names for screen readers where no caption says what a control is.
    m_grid->setAccessibleName(QStringLiteral("Glyph grid"));
    m_strip->setAccessibleName(QStringLiteral("Name strip"));
    m_rawText->setAccessibleName(QStringLiteral("Raw Source Code"));
    m_commandText->setAccessibleName(QStringLiteral("Command Line"));
    m_checkLine->setAccessibleName(QStringLiteral("Name check"));
    m_colours->setAccessibleName(QStringLiteral("Q3:A Colors"));

    setTabOrder(m_grid, m_strip);
    setTabOrder(m_strip, m_deleteButton);
    setTabOrder(m_deleteButton, m_colours);
    setTabOrder(m_colours, m_rawText);
    setTabOrder(m_rawText, m_commandText);
}

void MainWindow::fitCaptions()
{
    // One font for every caption of the window, at the largest size at which the
    // longest of each label's texts fits where the label stands.
    QList<CaptionFit::Caption> captions;
    for (const QLabel *l : findChildren<QLabel *>()) {
        QStringList texts{l->text()};
        if (l == m_charNumber)
            texts = {GridGeometry::charNumberCaption(GridGeometry::kCells - 1)};
        else if (l == m_modeLabel)
            texts.clear();
        // The side panel's captions mark their Alt letter with '&'; other labels show it.
        const bool marked = l->parentWidget() == m_panel;
        for (QString t : std::as_const(texts))
            captions.append({marked ? t.remove(QLatin1Char('&')) : t, l->width(), l->height()});
    }
    for (const ModeInfo &mode : GameModes::modes())
        captions.append({QLatin1String(mode.label), m_modeLabel->width(), m_modeLabel->height()});
    for (const FrameBox *f : findChildren<FrameBox *>())
        captions.append({f->title(), f->width() - 16, 0});
    setFont(CaptionFit::fit(font(), captions));

    const QSize list = m_colours->contentsRect().size();
    m_colours->setGridSize(QSize(list.width() / 2, list.height() / 4));
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
    // Access keys no other File entry uses, so every key a player knows keeps its meaning.
    connect(addItem(m_fileMenu, "OpenNameFromScript", QStringLiteral("&Open Name from Script...")),
            &QAction::triggered, this, [this] { m_names.openFromScript(); });
    QAction *paste = addItem(m_fileMenu, "PasteName", QStringLiteral("&Paste Name"));
    paste->setShortcut(QKeySequence::Paste);
    // The shortcut works where the name is, on the strip; the menu only shows it.
    paste->setShortcutContext(Qt::WidgetShortcut);
    m_strip->addAction(paste);
    connect(paste, &QAction::triggered, this, &MainWindow::pasteName);
    m_quickSave = addItem(m_fileMenu, "quicksave", QStringLiteral("&QuickSave"));
    connect(m_quickSave, &QAction::triggered, this, [this] { m_files.quickSave(); });
    connect(addItem(m_fileMenu, "options", QStringLiteral("&Configure")), &QAction::triggered, this,
            &MainWindow::configureRequested);
    // B, not E: E is Exit's.
    connect(addItem(m_fileMenu, "exportasbitmap", QStringLiteral("Export name as &Bitmap")),
            &QAction::triggered, this, [this] { m_files.exportBitmap(); });
    m_gameSpy = addItem(m_fileMenu, "saveingamespy", QStringLiteral("Save Name in &GameSpy\u00AE"));
    connect(m_gameSpy, &QAction::triggered, this, [this] { m_files.saveInGameSpy(); });
    // Where a name stays on today's systems: XQF's Custom CFG, and a script of
    // its own run at the game's start.
    m_saveInXqf = addItem(m_fileMenu, "saveinxqf", QStringLiteral("Save Name in &XQF"));
    connect(m_saveInXqf, &QAction::triggered, this, [this] { m_files.saveInXqf(); });
    m_saveInGame = addItem(m_fileMenu, "saveingame", QStringLiteral("Save Name &in Game"));
    connect(m_saveInGame, &QAction::triggered, this, [this] { m_files.saveInGame(); });
    m_undoSaveInGame =
        addItem(m_fileMenu, "undosaveingame", QStringLiteral("&Undo Save Name in Game"));
    connect(m_undoSaveInGame, &QAction::triggered, this, [this] { m_files.undoSaveInGame(); });
    m_copyConsoleLine =
        addItem(m_fileMenu, "copyconsoleline", QStringLiteral("Copy Conso&le Line"));
    connect(m_copyConsoleLine, &QAction::triggered, this, &MainWindow::copyConsoleLine);
    m_commandText->addAction(m_copyConsoleLine);
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
            [this] { HelpWindow::showInstance(this); });
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

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The warning's colour is chosen for the window's background.
    if (event->type() == QEvent::PaletteChange && m_checkLine)
        showCheck();
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
    // The boxes draw control codes with the picture's glyphs.
    showName();
}

void MainWindow::showMode()
{
    QStringList names;
    for (int cell = 0; cell < GridGeometry::kCells; ++cell)
        names.append(QStringLiteral("Glyph %1, adds %2")
                         .arg(cell + 1)
                         .arg(spoken(m_composer.table()[std::size_t(cell)])));
    m_grid->setCellNames(names);
    m_modeLabel->setText(m_modes.label());
    m_modeLabel->setToolTip(m_modes.fontNote());
    m_quickSave->setEnabled(m_modes.quickSaveEnabled());
    m_saveName->setEnabled(m_modes.saveNameEnabled());
    m_gameSpy->setEnabled(m_modes.gameSpyEnabled());
    m_saveInGame->setEnabled(m_modes.quickSaveEnabled());
    m_undoSaveInGame->setEnabled(m_modes.quickSaveEnabled());
    m_saveInXqf->setEnabled(m_modes.gameSpyEnabled());
    m_copyConsoleLine->setEnabled(m_modes.family().ezQuakeConsoleLine);
    m_colours->setEnabled(m_modes.colourListEnabled());
}

void MainWindow::showName()
{
    const TableFiller filler = GameModes::mode(m_modes.mode()).filler;
    const OutputBox::GlyphSource glyphs = [this, filler](unsigned char code) {
        const int cell = GlyphTables::cellShowing(filler, code);
        return cell < 0 ? QImage() : m_modes.fontPicture().glyph(cell);
    };
    m_rawText->setContent(m_composer.rawName(), glyphs);
    m_commandText->setContent(m_composer.commandText(), glyphs);
    showCheck();
}

void MainWindow::showCheck()
{
    const QByteArray raw = m_composer.rawName();
    const GameFamily &family = m_modes.family();
    const bool quoted = m_composer.cmdPrefix().endsWith('"');

    const NameVerdict verdict = NameCheck::check(raw, family, quoted);
    QPalette pal = palette();
    if (!verdict.fine)
        pal.setColor(QPalette::WindowText, Contrast::warningOn(pal.color(QPalette::Window)));
    m_checkLine->setPalette(pal);
    QStringList findings;
    for (const NameFinding &finding : verdict.findings) {
        findings.append(
            finding.position < 0
                ? finding.text
                : QStringLiteral("Byte %1: %2").arg(finding.position + 1).arg(finding.text));
    }
    m_checkLine->setStatus(verdict.summary,
                           findings.isEmpty() ? verdict.summary : findings.join(QLatin1Char('\n')));

    const TableFiller filler = GameModes::mode(m_modes.mode()).filler;
    QList<QImage> glyphs;
    for (const InGameName::Glyph &g : InGameName::render(raw, family, quoted).glyphs) {
        const int cell = GlyphTables::cellShowing(filler, g.byte);
        if (cell >= 0)
            glyphs.append(m_modes.glyph(cell, g.colour));
    }
    m_inGame->setGlyphs(glyphs);
}

void MainWindow::copyConsoleLine()
{
    if (const std::optional<QString> line = m_names.consoleLine())
        QGuiApplication::clipboard()->setText(*line);
}

void MainWindow::pasteName()
{
    m_names.paste(QGuiApplication::clipboard()->text());
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
