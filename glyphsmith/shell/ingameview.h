// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

// The in-game view (InGame): the name as the game will draw it, one 16 x 16 glyph
// after another on black, from the left. A name wider than the view is drawn
// narrower, so its end is never hidden.
class InGameView : public QWidget
{
    Q_OBJECT

public:
    explicit InGameView(QWidget *parent = nullptr);

    void setGlyphs(const QList<QImage> &glyphs);
    const QList<QImage> &glyphs() const { return m_glyphs; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QImage> m_glyphs;
};
