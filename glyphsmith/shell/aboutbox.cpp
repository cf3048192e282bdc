#include "aboutbox.h"

#include "glyphtables.h"
#include "qtprompts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPointer<AboutBox> &openBox()
{
    static QPointer<AboutBox> box;
    return box;
}

// `font` `factor` times as large, in the unit it was given in: the programs set
// their fonts in pixels, where a point size reads as -1.
QFont scaled(QFont font, qreal factor)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
    else
        font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: #808080;"));
    return line;
}

} // namespace

AboutBox::AboutBox(std::shared_ptr<Prompts> prompts, SysInfo sysInfo, QWidget *parent)
    : QDialog(parent), m_prompts(std::move(prompts)), m_sysInfo(std::move(sysInfo))
{
    if (!m_prompts)
        m_prompts = std::make_shared<QtPrompts>(this);

    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Glyphsmith"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setAutoFillBackground(true);
    QPalette dark = panel->palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(dark);

    auto *title = new QLabel(QStringLiteral("Glyphsmith"), panel);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = scaled(title->font(), 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #ffff00;"));

    auto *version = new QLabel(QString::fromLatin1(GlyphTables::kVersion), panel);
    version->setObjectName(QStringLiteral("Label2"));
    version->setStyleSheet(QStringLiteral("color: #ffff00;"));

    auto *description = new QLabel(
        QStringLiteral("Glyphsmith puts together decorated player names for games whose fonts "
                       "hold special characters. Choose a game, click glyphs in its font grid, "
                       "then copy the name or add it to the game's configuration script. "
                       "Glyphbox, its companion, maps the characters of any installed font.\n\n"
                       "Glyphsmith is made by Kestrelworks."),
        panel);
    description->setObjectName(QStringLiteral("Label3"));
    description->setWordWrap(true);

    auto *notice = new QLabel(QStringLiteral("Game names are trademarks of their owners; "
                                             "Kestrelworks is not affiliated with them."),
                              panel);
    notice->setObjectName(QStringLiteral("lblDisclaimer"));
    notice->setFont(scaled(notice->font(), 0.85));
    notice->setStyleSheet(QStringLiteral("color: #c0c0c0;"));

    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *sysInfoButton = new QPushButton(QStringLiteral("&System Info..."), panel);
    sysInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfoButton->setAutoDefault(false);

    auto *header = new QHBoxLayout;
    header->addWidget(title);
    header->addWidget(version, 0, Qt::AlignBottom);
    header->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfoButton);

    auto *content = new QVBoxLayout(panel);
    content->setContentsMargins(16, 12, 16, 12);
    content->addLayout(header);
    content->addWidget(separator(panel));
    content->addWidget(description);
    content->addStretch();
    content->addWidget(notice);
    content->addWidget(separator(panel));
    content->addLayout(buttons);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    // 6900 x 3750 twips: the paragraph and the notice each fit without clipping.
    setFixedSize(460, 250);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfoButton, &QPushButton::clicked, this, &AboutBox::startSysInfo);
}

AboutBox *AboutBox::showInstance(std::shared_ptr<Prompts> prompts, SysInfo sysInfo)
{
    QPointer<AboutBox> &box = openBox();
    // No parent: the box outlives a main window that the Configure dialog replaces.
    if (!box)
        box = new AboutBox(std::move(prompts), std::move(sysInfo));
    box->show();
    box->raise();
    box->activateWindow();
    return box;
}

void AboutBox::startSysInfo()
{
    const SysInfo::Result result = m_sysInfo.start();
    if (!result.ok)
        m_prompts->message(result.message, QStringLiteral("Glyphsmith"));
}
