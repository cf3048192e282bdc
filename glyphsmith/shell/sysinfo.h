#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Finds and starts the machine's system-information program, in this order: the
// path recorded under HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Shared Tools\MSINFO"
// value "PATH"; the folder under "SOFTWARE\Microsoft\Shared Tools Location" value
// "MSINFO" when it holds "MSINFO32.EXE"; the first of platformPrograms() on the
// search path. The three lookups and the start are injectable for tests.
class SysInfo
{
public:
    // A text value under HKEY_LOCAL_MACHINE; nullopt when the key or value is
    // missing or the value is not text.
    using ValueReader =
        std::function<std::optional<QString>(const QString &keyPath, const QString &valueName)>;
    // Absolute path of an executable on the search path, or empty.
    using ExecutableFinder = std::function<QString(const QString &name)>;
    // Starts a program detached, without arguments; false when it did not start.
    using Starter = std::function<bool(const QString &program)>;

    struct Result
    {
        bool ok = false;
        QString message; // the text to show when !ok
    };

    // machineValue, QStandardPaths::findExecutable, QProcess::startDetached.
    SysInfo();
    SysInfo(ValueReader reader, ExecutableFinder finder, Starter starter);

    // The default ValueReader: KeyStore::userStore() under Root::LocalMachine,
    // text decoded from Windows-1252.
    static std::optional<QString> machineValue(const QString &keyPath, const QString &valueName);

    // Desktop system-information tools tried after the two recorded paths, best first.
    static QStringList platformPrograms();
    static QString unavailableMessage(); // "System Information Is Unavailable At This Time"

    // The program start() would run; empty when there is none.
    QString programPath() const;
    Result start() const;

private:
    ValueReader m_reader;
    ExecutableFinder m_finder;
    Starter m_starter;
};
