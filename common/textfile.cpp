#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace TextFile {

std::vector<Line> splitLines(const QByteArray &data)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({data.mid(start), {}});
            break;
        }
        const bool crlf = nl > start && data.at(nl - 1) == '\r';
        lines.push_back({data.mid(start, (crlf ? nl - 1 : nl) - start), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line> &lines)
{
    QByteArray out;
    for (const Line &line : lines)
        out.append(line.text).append(line.end);
    return out;
}

Contents read(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        return {false, true, {}, QStringLiteral("It is a folder, not a file.")};
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {false, true, {}, in.errorString()};
    Contents contents{true, true, in.readAll(), {}};
    if (in.error() != QFileDevice::NoError)
        return {false, true, {}, in.errorString()};
    return contents;
}

QString writeAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return out.errorString();
    if (out.write(data) != data.size()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return reason;
    }
    if (!out.commit())
        return out.errorString();
    return {};
}

} // namespace TextFile
