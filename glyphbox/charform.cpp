#include "charform.h"

#include "cp1252.h"
#include "fontfamilies.h"
#include "fontlist.h"
#include "gridview.h"
#include "icqsave.h"
#include "magnifierview.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QToolTip>

namespace {

const QString kNote1 = QStringLiteral(
    "Note: Double click the character, or highlight a character then click \"Add Char.\" "
    "to add that character to your name.");
const QString kNote2 = QStringLiteral(
    "Note: Glyphbox is a generic Character Map tool, which can be used to figure out how "
    "funnames work in games, or to add different characters to applications which normally "
    "won't allow it. This program is UNSUPPORRTED!");

template <typename W> W *place(W *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry,
              bool wrap = false)
{
    auto *l = place(new QLabel(text, parent), name, geometry);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, int top)
{
    return place(new QPushButton(text, parent), name, QRect(448, top, 73, 25));
}

} // namespace

CharForm::CharForm(Prompts &prompts, KeyStore store, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompts(prompts), m_store(std::move(store)),
      m_model(GridView::kClientSize, QGuiApplication::palette().color(QPalette::Highlight),
              QGuiApplication::palette().color(QPalette::HighlightedText), devicePixelRatioF())
{
    setObjectName(QStringLiteral("CharForm"));
    setWindowTitle(QStringLiteral("Glyphbox (Beta)"));
    setFixedSize(527, 353);
    // The layout was drawn for small, narrow dialog text; at the usual sizes the
    // notes and the keystroke would be cut off at the labels' fixed sizes.
    QFont small = font();
    const QStringList families = FontList::plainFamilies(QFontDatabase::families());
    small.setFamily(
        FontFamilies::firstInstalled({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")},
                                     families));
    small.setPixelSize(10);
    // The window's words and the family names are in Latin letters; without
    // merging, no widget makes Qt look up fallback fonts (a line edit asks for a
    // password bullet its font may lack), which with thousands of families takes
    // longer than the whole start, nor loads a second face of the same font.
    small.setStyleStrategy(QFont::NoFontMerging);
    setFont(small);

    auto *fontLabel = label(this, "Label9", QStringLiteral("&Font:"), QRect(16, 8, 25, 17));
    m_fonts = place(new QComboBox(this), "CboFonts", QRect(48, 8, 169, 21));
    m_fonts->setModel(new QStringListModel(m_fonts));
    fontLabel->setBuddy(m_fonts);
    auto *nameLabel =
        label(this, "Label8", QStringLiteral("Name/Characters:"), QRect(224, 8, 97, 17));
    m_name = place(new QLineEdit(this), "Txtcopy", QRect(320, 8, 105, 25));
    // The caption names the field for a screen reader; it has no access key to clash.
    nameLabel->setBuddy(m_name);
    auto *add = button(this, "cmdSelect", QStringLiteral("&Add Char."), 4);
    m_copy = button(this, "cmdCopy", QStringLiteral("&Copy Source"), 40);
    auto *icq = button(this, "Command1", QStringLiteral("&Save to ICQ"), 72);
    auto *exit = button(this, "Command2", QStringLiteral("E&xit"), 104);
    m_keystroke = label(this, "Label4", QStringLiteral("Label4"), QRect(432, 136, 156, 19));
    // At 9 pixels ´ ` ' ’ look alike: the name tells them apart, under the keystroke.
    m_charName = label(this, "CharName", QString(), QRect(432, 156, 93, 112), true);
    m_grid = place(new GridView(m_model, this), "Ascii1", QRect(9, 48, 416, 224));
    m_grid->setAccessibleName(QStringLiteral("Characters"));
    m_shadow = place(new QWidget(this), "Picture3", QRect(56, 112, 33, 41));
    m_magnifier = place(new MagnifierView(m_model, this), "Ascii2", QRect(48, 104, 33, 41));
    label(this, "Label1", kNote1, QRect(0, 280, 417, 33), true);
    label(this, "Label2", kNote2, QRect(0, 312, 449, 49), true);

    m_shadow->setAutoFillBackground(true);
    QPalette black = m_shadow->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_shadow->setPalette(black);
    m_shadow->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_shadow->hide();
    m_magnifier->hide();
    // The magnifier over its shadow, both over the grid.
    m_shadow->raise();
    m_magnifier->raise();

    m_name->installEventFilter(this);
    m_grid->installEventFilter(this);

    connect(&m_model, &CharMapModel::changed, this, &CharForm::refresh);
    connect(&m_model, &CharMapModel::pointerVisibilityChanged, this, &CharForm::setPointerVisible);
    connect(m_fonts, &QComboBox::currentIndexChanged, this, &CharForm::changeFont);
    connect(m_grid, &GridView::addRequested, this, &CharForm::insertText);
    connect(add, &QPushButton::clicked, this, &CharForm::insertText);
    connect(m_copy, &QPushButton::clicked, this, &CharForm::copyName);
    connect(icq, &QPushButton::clicked, this, &CharForm::saveToIcq);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_copy->setEnabled(!text.isEmpty()); });

    fillFontList(families);
    // Stands for a plain press and release at the grid's origin: selects the space.
    m_model.press(Qt::NoButton, QPoint(0, 0));
    m_model.release();
    m_grid->setFocus();
    m_copy->setEnabled(false);
    m_model.setSelIndex(1);
}

CharForm::~CharForm()
{
    setPointerVisible(true);
}

void CharForm::fillFontList(const QStringList &families)
{
    {
        const QSignalBlocker blocker(m_fonts);
        // A string list model holds thousands of names for less than the items
        // of the combo box's own model.
        static_cast<QStringListModel *>(m_fonts->model())->setStringList(families);
        m_fonts->setCurrentIndex(-1);
    }
    // The chosen family redraws the whole grid, so the stand-in face is drawn only
    // where there is no family to pick.
    if (families.isEmpty())
        m_model.drawGrid(QFont(QStringLiteral("Times New Roman")));
    else
        m_fonts->setCurrentIndex(FontList::startIndex(families, FontFamilies::systemFamily()));
}

void CharForm::changeFont(int index)
{
    if (index < 0)
        return;
    // The name is shown in the chosen family's own glyphs, as the grid is: a
    // font that merged in others would look them up for every family visited
    // (which with thousands of families takes longer than anything else here).
    // The grid takes its measure from this font, which is then loaded already.
    QFont nameFont = font();
    nameFont.setFamily(m_fonts->itemText(index));
    nameFont.setStyleStrategy(QFont::NoFontMerging);
    m_name->setFont(nameFont);
    m_model.changeFont(nameFont);
}

void CharForm::refresh()
{
    const CharMapModel::Magnifier &magnifier = m_model.magnifier();
    const QPoint shadowOffset(CellGeometry::kShadowOffset, CellGeometry::kShadowOffset);
    m_magnifier->move(magnifier.topLeft);
    m_shadow->move(magnifier.topLeft + shadowOffset);
    m_magnifier->setVisible(magnifier.visible);
    m_shadow->setVisible(magnifier.visible);
    // Once more after the magnifier moved: on a screen scaled by a fraction, a
    // repaint of only the part it uncovered leaves a seam in the grid's frame.
    m_grid->update();
    m_magnifier->update();
    m_magnifier->setToolTip(magnifier.name);
    m_charName->setText(m_model.selectedName());
    if (!m_model.keystroke().isEmpty()) {
        m_keystroke->setText(m_model.keystroke());
        m_keystroke->setToolTip(m_model.keystrokeHint());
    }
}

QString CharForm::toolTipAt(QPoint gridPos) const
{
    // The magnifier lets the mouse through to the grid, so the grid tells its name.
    const QPoint inWindow = m_grid->mapToParent(gridPos);
    if (m_magnifier->isVisible() && m_magnifier->geometry().contains(inWindow))
        return m_magnifier->toolTip();
    const CellGeometry::Cell cell =
        CellGeometry::cellAt(gridPos - m_grid->contentsRect().topLeft(), m_model.cellSize());
    if (!CellGeometry::isInside(cell))
        return {};
    return m_model.describe(cell);
}

void CharForm::setPointerVisible(bool visible)
{
    // One override at most, so the application's cursor stack stays balanced
    // however the presses and releases arrive.
    if (!visible && !m_pointerOverridden) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
        m_pointerOverridden = true;
    } else if (visible && m_pointerOverridden) {
        QGuiApplication::restoreOverrideCursor();
        m_pointerOverridden = false;
    }
}

bool CharForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_grid);
        return true;
    }
    if (watched == m_name) {
        if (event->type() == QEvent::FocusOut && m_name->hasSelectedText())
            m_savedSelection =
                std::pair(m_name->selectionStart(), int(m_name->selectedText().size()));
        else if (event->type() == QEvent::FocusIn)
            m_savedSelection.reset();
    }
    return QWidget::eventFilter(watched, event);
}

void CharForm::insertText()
{
    if (m_savedSelection && !m_name->hasFocus())
        m_name->setSelection(m_savedSelection->first, m_savedSelection->second);
    m_savedSelection.reset();
    m_name->insert(Cp1252::toUnicode(QByteArray(1, char(m_model.selectedCode()))));
}

void CharForm::copyName()
{
    QGuiApplication::clipboard()->setText(m_name->text());
}

void CharForm::saveToIcq()
{
    IcqSave::save(m_prompts, m_store, m_name->text());
}
