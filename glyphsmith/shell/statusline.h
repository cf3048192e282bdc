// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A one-line status (the name check's line): its text, with the details in the
// tooltip. A screen reader reads it as a status bar and is told when it changes.
class StatusLine : public QLabel
{
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent = nullptr);

    void setStatus(const QString &text, const QString &details);
    // Whether the text is wider than the line (and drawn with an ellipsis).
    bool elided() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateToolTip();
    QString m_details;
};
