#pragma once

#include <QFrame>

class CharMapModel;

// The magnifier: the character last drawn into it, centred, in its font at 18
// points, inside a 2-pixel sunken frame. Position and visibility follow the model.
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
