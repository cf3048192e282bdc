#include "scriptedprompts.h"

namespace {

template <typename T> T take(std::deque<T> &queue)
{
    T front{};
    if (!queue.empty()) {
        front = queue.front();
        queue.pop_front();
    }
    return front;
}

} // namespace

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Asked &a : asked) {
        if (a.kind == Kind::Message)
            out.append(a.text);
    }
    return out;
}

void ScriptedPrompts::message(const QString &text, const QString &title)
{
    asked.append({Kind::Message, text, title, {}});
}

bool ScriptedPrompts::askYesNo(const QString &text, const QString &title, bool)
{
    asked.append({Kind::YesNo, text, title, {}});
    return take(yesNoAnswers);
}

std::optional<QString> ScriptedPrompts::input(const QString &prompt, const QString &title,
                                              const QString &)
{
    asked.append({Kind::Input, prompt, title, {}});
    return take(inputAnswers);
}

QString ScriptedPrompts::openFile(const FileRequest &request)
{
    asked.append({Kind::OpenFile, request.title, request.title, request});
    return take(fileAnswers);
}

Prompts::SaveAnswer ScriptedPrompts::saveFile(const FileRequest &request)
{
    asked.append({Kind::SaveFile, request.title, request.title, request});
    return {take(fileAnswers), take(filterAnswers)};
}

QString ScriptedPrompts::pickFolder(const QString &title)
{
    asked.append({Kind::Folder, title, title, {}});
    return take(folderAnswers);
}
