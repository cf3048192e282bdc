// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

// A captioned frame drawn the classic way: the border runs through the middle of
// the caption, so children placed one caption line below the top sit inside the
// border whatever the widget style would do with a group box's title.
class FrameBox : public QGroupBox
{
    Q_OBJECT

public:
    FrameBox(const QString &title, QWidget *parent = nullptr);

    // Where the border's top line runs, in pixels from the top.
    int borderTop() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
