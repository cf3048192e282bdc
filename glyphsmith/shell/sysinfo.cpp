#include "sysinfo.h"

#include "cp1252.h"
#include "keystore.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool startDetached(const QString &program)
{
    return QProcess::startDetached(program, {});
}

} // namespace

SysInfo::SysInfo()
    : SysInfo(
          machineValue, [](const QString &name) { return QStandardPaths::findExecutable(name); },
          startDetached)
{}

SysInfo::SysInfo(ValueReader reader, ExecutableFinder finder, Starter starter)
    : m_reader(std::move(reader)), m_finder(std::move(finder)), m_starter(std::move(starter))
{}

std::optional<QString> SysInfo::machineValue(const QString &keyPath, const QString &valueName)
{
    const auto value =
        KeyStore::userStore().readValue(KeyStore::Root::LocalMachine, keyPath, valueName);
    // A number or binary value is no program path; the next source gets its turn.
    if (!value || value->type != KeyStore::Value::Type::String)
        return std::nullopt;
    return Cp1252::toUnicode(value->bytes);
}

QStringList SysInfo::platformPrograms()
{
    // Hardware and system summaries first; the process monitors still answer
    // "what is this machine doing" when no summary tool is installed.
    return {QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("plasma-systemmonitor"),
            QStringLiteral("ksysguard"),
            QStringLiteral("mate-system-monitor")};
}

QString SysInfo::unavailableMessage()
{
    return QStringLiteral("System Information Is Unavailable At This Time");
}

QString SysInfo::programPath() const
{
    // An empty PATH value names no program; trying the next source serves the user
    // better than failing on it.
    if (const auto path = m_reader(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                   QStringLiteral("PATH"));
        path && !path->isEmpty())
        return *path;

    if (const auto folder = m_reader(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                                     QStringLiteral("MSINFO"));
        folder && !folder->isEmpty()) {
        const QString candidate = *folder + QStringLiteral("/MSINFO32.EXE");
        if (QFileInfo(candidate).isFile())
            return candidate;
    }

    for (const QString &name : platformPrograms()) {
        const QString found = m_finder(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

SysInfo::Result SysInfo::start() const
{
    const QString program = programPath();
    if (program.isEmpty() || !m_starter(program))
        return {false, unavailableMessage()};
    return {true, {}};
}
