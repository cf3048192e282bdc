#pragma once

#include <QImage>
#include <QWidget>

// A black box that shows one 16 x 16 glyph from its top-left corner, each source
// pixel a `scale` x `scale` block (RegViewChar: 1, Picture2: 2). Blank until a glyph
// is set, and again after clear().
class GlyphPreview : public QWidget
{
    Q_OBJECT

public:
    GlyphPreview(int scale, QWidget *parent = nullptr);

    void setGlyph(const QImage &glyph);
    void clear();
    bool isBlank() const { return m_glyph.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_scale;
    QImage m_glyph;
};
