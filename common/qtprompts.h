#pragma once

#include "prompts.h"

#include <QPointer>
#include <QWidget>

// The real dialogs, owned by `parent` (may be null). When one closes, the keyboard
// focus goes back to the widget that had it.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title, bool defaultYes) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
    QString openFile(const FileRequest &request) override;
    SaveAnswer saveFile(const FileRequest &request) override;
    QString pickFolder(const QString &title) override;

private:
    QPointer<QWidget> m_parent;
};
