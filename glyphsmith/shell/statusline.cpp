// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusline.h"

#include "shellaccessibility.h"

#include <QAccessible>

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    ShellAccessibility::install();
    setTextFormat(Qt::PlainText);
}

void StatusLine::setStatus(const QString &text, const QString &details)
{
    setToolTip(details);
    if (text == this->text())
        return;
    setText(text);
    // The line's text is its accessible name: a changed name is what gets read out.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}
