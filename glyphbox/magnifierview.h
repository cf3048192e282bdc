#pragma once

#include <QFrame>

class CharMapModel;

// The magnifier: the character last drawn into it, centred, in its font (up to
// 18 points, smaller for fonts with very wide glyphs), inside a 2-pixel sunken
// frame; empty where the font lacks the character. Position and visibility
// follow the model.
class MagnifierView : public QFrame
{
    Q_OBJECT

public:
    static constexpr QSize kSize{33, 41};

    explicit MagnifierView(const CharMapModel &model, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const CharMapModel &m_model;
};
