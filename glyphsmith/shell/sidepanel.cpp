#include "sidepanel.h"

#include "shellaccessibility.h"

#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

// The art is compiled in: decoding the arrays directly spares the start-up a
// search through the image plugins.
#include "art/anvil.xpm"
#include "art/blocks.xpm"
#include "art/pointer.xpm"
#include "art/sparks.xpm"

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

// A caption with its Alt letter underlined. A plain QLabel shows '&' literally
// unless it has a buddy (whose shortcut would clash with the panel's own); rich
// text would cost a text document per label, first laid out in the application
// font, a face this window never shows. Placed as the rich text was: one line,
// centred in height, on a whole pixel.
class CaptionLabel : public QLabel
{
    Q_OBJECT // a class name of its own, so a screen reader is told it is a button

        public :
        // The text is set once the label is a caption, so that a screen reader, asked
        // on the first text, hears of a button rather than of a plain label.
        CaptionLabel(const char *caption, QWidget *parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setText(QString::fromLatin1(caption));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QString caption = text();
        const qsizetype amp = caption.indexOf(QLatin1Char('&'));
        caption.remove(amp, 1);
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        QTextLayout layout(caption, font());
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(QTextOption::ManualWrap);
        layout.setTextOption(option);
        layout.setFormats({QTextLayout::FormatRange{int(amp), 1, underlined}});
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(contentsRect().width());
        layout.endLayout();

        const QRect area = contentsRect();
        const int top = qFloor(qMax((area.height() - line.height()) / 2, 0.0));
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        painter.translate(area.left(), area.top() + top);
        layout.draw(&painter, QPointF(0, 0));
    }
};

} // namespace

SidePanel::SidePanel(QWidget *parent)
    : QWidget(parent), m_anvil(anvil_xpm), m_sparks(sparks_xpm), m_blocks(blocks_xpm)
{
    setObjectName(QStringLiteral("Picture7"));
    setMouseTracking(true);
    ShellAccessibility::install();

    QPalette yellowText = palette();
    yellowText.setColor(QPalette::WindowText, kYellow);
    const QCursor pointer(QPixmap(pointer_xpm), 12, 1);

    for (int i = 0; i < kItems; ++i) {
        auto *label = new CaptionLabel(kLabels[i].caption, this);
        label->setObjectName(QLatin1String(kLabels[i].objectName));
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

std::optional<SidePanel::Item> SidePanel::itemOf(const QObject *label) const
{
    const auto found = std::find(m_labels.begin(), m_labels.end(), label);
    if (found == m_labels.end())
        return std::nullopt;
    return static_cast<Item>(found - m_labels.begin());
}

void SidePanel::activate(Item item)
{
    Q_EMIT itemActivated(item);
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

#include "sidepanel.moc"
