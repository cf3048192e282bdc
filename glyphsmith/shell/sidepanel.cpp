#include "sidepanel.h"

#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

struct LabelInfo
{
    const char *objectName;
    const char *caption; // '&' marks the Alt letter
    int top;
};

constexpr std::array<LabelInfo, SidePanel::kItems> kLabels{{
    {"Label4", "&File", 16},
    {"Label8", "&Game/Mode", 40},
    {"Label10", "Copy &Raw Source", 64},
    {"Label11", "Copy &Command Line", 88},
    {"Label9", "&Help", 112},
}};

constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 105;
constexpr int kLabelHeight = 17;
const QColor kYellow(255, 255, 0);

const LabelInfo &info(SidePanel::Item item)
{
    return kLabels[static_cast<int>(item)];
}

// A plain QLabel shows '&' literally unless it has a buddy, so the Alt letter is
// underlined by hand.
QString underlinedCaption(const char *caption)
{
    const QString text = QString::fromLatin1(caption);
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    return text.left(amp).toHtmlEscaped() + QLatin1String("<u>") + text.mid(amp + 1, 1) +
           QLatin1String("</u>") + text.mid(amp + 2).toHtmlEscaped();
}

} // namespace

// The library is static: its resources must be registered by hand, and outside
// any namespace.
static void registerArt()
{
    Q_INIT_RESOURCE(shell);
}

SidePanel::SidePanel(QWidget *parent) : QWidget(parent)
{
    registerArt();
    m_anvil.load(QStringLiteral(":/art/anvil.xpm"));
    m_sparks.load(QStringLiteral(":/art/sparks.xpm"));
    m_blocks.load(QStringLiteral(":/art/blocks.xpm"));
    setObjectName(QStringLiteral("Picture7"));
    setMouseTracking(true);

    QPalette yellowText = palette();
    yellowText.setColor(QPalette::WindowText, kYellow);
    const QCursor pointer(QPixmap(QStringLiteral(":/art/pointer.xpm")), 12, 1);

    for (int i = 0; i < kItems; ++i) {
        auto *label = new QLabel(underlinedCaption(kLabels[i].caption), this);
        label->setObjectName(QLatin1String(kLabels[i].objectName));
        label->setTextFormat(Qt::RichText);
        label->setPalette(yellowText);
        label->setGeometry(kLabelLeft, kLabels[i].top, kLabelWidth, kLabelHeight);
        label->setCursor(pointer);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        m_labels[i] = label;
    }

    m_highlight = new QFrame(this);
    m_highlight->setObjectName(QStringLiteral("Shape2"));
    m_highlight->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_highlight->setLineWidth(1);
    m_highlight->setPalette(yellowText);
    m_highlight->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_highlight->setGeometry(kLabelLeft, kLabels[0].top, kLabelWidth, kLabelHeight);
    m_highlight->hide();
}

QChar SidePanel::mnemonic(Item item)
{
    const QString caption = QString::fromLatin1(info(item).caption);
    return caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper();
}

QPoint SidePanel::menuAnchor(Item item) const
{
    const QLabel *l = label(item);
    return l->mapToGlobal(QPoint(0, l->height()));
}

void SidePanel::hideHighlight()
{
    m_highlight->hide();
}

bool SidePanel::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(m_labels.begin(), m_labels.end(), watched);
    if (found == m_labels.end())
        return QWidget::eventFilter(watched, event);
    QLabel *label = *found;

    switch (event->type()) {
    case QEvent::MouseMove:
        m_highlight->move(kLabelLeft, label->y());
        m_highlight->show();
        // Consumed here: the panel must never take it for a move over its background.
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()))
            Q_EMIT itemClicked(static_cast<Item>(found - m_labels.begin()));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

void SidePanel::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        Q_EMIT backgroundHovered();
}

void SidePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(kLabelLeft, 146, m_sparks);
    painter.drawPixmap((width() - m_anvil.width()) / 2, 178, m_anvil);
    painter.drawPixmap((width() - m_blocks.width()) / 2, height() - m_blocks.height() - 16,
                       m_blocks);
}
