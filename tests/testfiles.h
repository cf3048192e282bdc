#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Byte-exact file access for tests. A file that cannot be read reads as
// "<unreadable>", so a failed comparison tells it apart from an empty file.
namespace TestFiles {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

[[nodiscard]] inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace TestFiles
