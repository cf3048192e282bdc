// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputbox.h"

#include "cp1252.h"
#include "shellaccessibility.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWheelEvent>

namespace {

constexpr int kMargin = 3; // between the frame and the text
constexpr int kMaxNamedCodes = 8;

bool hasNoText(unsigned char code)
{
    return code < 0x20 || code == 0x7F;
}

} // namespace

OutputBox::OutputBox(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Base);
    ShellAccessibility::install();
}

void OutputBox::setContent(const QByteArray &bytes, const GlyphSource &glyphs)
{
    if (QAccessible::isActive() && bytes != m_bytes) {
        QAccessibleTextUpdateEvent changed(this, 0, Cp1252::toDisplay(m_bytes),
                                           Cp1252::toDisplay(bytes));
        QAccessible::updateAccessibility(&changed);
    }
    m_bytes = bytes;
    m_pieces.clear();
    QByteArray run;
    auto flush = [&] {
        if (!run.isEmpty())
            m_pieces.append({Cp1252::toUnicode(run), {}, 0});
        run.clear();
    };
    QStringList named;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto code = static_cast<unsigned char>(bytes.at(i));
        if (!hasNoText(code)) {
            run.append(char(code));
            continue;
        }
        flush();
        const QImage glyph = glyphs ? glyphs(code) : QImage();
        if (glyph.isNull())
            m_pieces.append({Cp1252::toDisplay(QByteArray(1, char(code))), {}, 0});
        else
            m_pieces.append({{}, glyph, glyph.width()});
        if (named.size() < kMaxNamedCodes)
            named.append(QStringLiteral("byte %1: code %2 (0x%3)")
                             .arg(i + 1)
                             .arg(code)
                             .arg(code, 2, 16, QLatin1Char('0')));
        else if (named.size() == kMaxNamedCodes)
            named.append(QStringLiteral("..."));
    }
    flush();
    layoutPieces();

    QString tip = Cp1252::toDisplay(bytes);
    if (!named.isEmpty())
        tip += QLatin1Char('\n') + QStringLiteral("Codes drawn with the game's glyphs:") +
               QLatin1Char('\n') + named.join(QLatin1Char('\n'));
    setToolTip(tip);
    // A new name shows from its start, as a fresh box would.
    m_offset = 0;
    update();
}

QString OutputBox::text() const
{
    return Cp1252::toUnicode(m_bytes);
}

void OutputBox::layoutPieces()
{
    const QFontMetrics metrics = fontMetrics();
    m_contentWidth = 0;
    for (Piece &piece : m_pieces) {
        if (piece.glyph.isNull())
            piece.width = metrics.horizontalAdvance(piece.text);
        m_contentWidth += piece.width;
    }
}

QRect OutputBox::contentRect() const
{
    return rect().adjusted(kMargin, 1, -kMargin, -1);
}

QSize OutputBox::sizeHint() const
{
    return {200, fontMetrics().height() + 6};
}

void OutputBox::scrollTo(int offset)
{
    const int most = qMax(0, m_contentWidth - contentRect().width());
    m_offset = qBound(0, offset, most);
    update();
}

void OutputBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    painter.fillRect(rect(), palette().base());
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect area = contentRect();
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::Text));
    int x = area.left() - m_offset;
    for (const Piece &piece : m_pieces) {
        if (x > area.right())
            break;
        if (x + piece.width >= area.left()) {
            if (piece.glyph.isNull()) {
                painter.drawText(QRect(x, area.top(), piece.width, area.height()),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece.text);
            } else {
                const int y = area.top() + (area.height() - piece.glyph.height()) / 2;
                painter.drawImage(x, y, piece.glyph);
            }
        }
        x += piece.width;
    }
}

void OutputBox::keyPressEvent(QKeyEvent *event)
{
    const int step = fontMetrics().averageCharWidth() * 4;
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->key() == Qt::Key_Left) {
        scrollTo(m_offset - step);
    } else if (event->key() == Qt::Key_Right) {
        scrollTo(m_offset + step);
    } else if (event->key() == Qt::Key_Home) {
        scrollTo(0);
    } else if (event->key() == Qt::Key_End) {
        scrollTo(m_contentWidth);
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void OutputBox::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layoutPieces();
}

void OutputBox::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    const int amount = delta.x() != 0 ? delta.x() : delta.y();
    scrollTo(m_offset - amount / 4);
    event->accept();
}

void OutputBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy"), this, &OutputBox::copy);
    menu.exec(event->globalPos());
}

void OutputBox::copy() const
{
    QGuiApplication::clipboard()->setText(text());
}
