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
};
