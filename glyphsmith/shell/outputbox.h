// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <functional>

// A read-only one-line box for an output of the name (Text2, Text3). It shows the
// bytes as Windows-1252 text, except the codes text cannot show (0-31 and 127),
// which it draws with the mode's own glyph, so gold digits and arrows look as
// they will in the game. The tooltip gives the whole text and names those codes.
// Left, Right, Home and End scroll a text longer than the box; Ctrl+C copies it.
class OutputBox : public QWidget
{
    Q_OBJECT

public:
    // The glyph that shows a code, or a null image where the mode has none.
    using GlyphSource = std::function<QImage(unsigned char code)>;

    explicit OutputBox(QWidget *parent = nullptr);

    void setContent(const QByteArray &bytes, const GlyphSource &glyphs);
    QByteArray bytes() const { return m_bytes; }
    QString text() const; // what a copy puts on the clipboard

    // Pixels the content is scrolled to the left.
    int scrollOffset() const { return m_offset; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Piece
    {
        QString text; // a run of text, or empty for a glyph
        QImage glyph;
        int width = 0;
    };

    void layoutPieces();
    void scrollTo(int offset);
    QRect contentRect() const;
    void copy() const;

    QByteArray m_bytes;
    QList<Piece> m_pieces;
    int m_contentWidth = 0;
    int m_offset = 0;
};
