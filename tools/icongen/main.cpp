// SPDX-License-Identifier: GPL-3.0-or-later
#include "icondesigns.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

namespace {

struct IconFile
{
    QString path;     // below the icon folder, '/' separated
    QImage image;     // null for the SVG
    QByteArray bytes; // the file's content as written today
};

QByteArray encodePng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

QList<IconFile> buildAll()
{
    QList<IconFile> files;
    for (const IconDesign &design : IconDesigns::all()) {
        files.append({QStringLiteral("hicolor/scalable/apps/%1.svg").arg(design.name),
                      {},
                      IconShapes::toSvg(design.shapes(0))});
        for (int size : IconDesigns::kSizes) {
            QImage image = IconShapes::rasterize(design.shapes(size), size);
            QByteArray png = encodePng(image);
            files.append({QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(design.name),
                          std::move(image), std::move(png)});
        }
    }
    return files;
}

// Whether the file on disk holds `file`. PNGs are compared by their pixels:
// another zlib may pack the same pixels into other bytes.
bool matches(const IconFile &file, const QByteArray &onDisk)
{
    if (file.image.isNull())
        return onDisk == file.bytes;
    const QImage read = QImage::fromData(onDisk, "PNG");
    return !read.isNull() && read.convertToFormat(QImage::Format_ARGB32) == file.image;
}

// Files below hicolor/ that the generator does not make: icons left behind by
// a renamed or dropped design.
QStringList strayFiles(const QDir &folder, const QList<IconFile> &files)
{
    QSet<QString> known;
    for (const IconFile &file : files)
        known.insert(file.path);
    QStringList stray;
    const QDir base(folder.absolutePath());
    QDirIterator it(base.filePath(QStringLiteral("hicolor")), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = base.relativeFilePath(it.next());
        if (!known.contains(relative))
            stray << relative;
    }
    stray.sort();
    return stray;
}

int write(const QDir &folder, QTextStream &out, QTextStream &err)
{
    const QList<IconFile> files = buildAll();
    int written = 0;
    for (const IconFile &file : files) {
        const QString path = folder.filePath(file.path);
        if (file.bytes.isEmpty()) {
            err << "icongen: cannot encode " << file.path << "\n";
            return 1;
        }
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && matches(file, current.readAll()))
            continue;
        if (!QDir().mkpath(QFileInfo(path).path())) {
            err << "icongen: cannot create the folder of " << path << "\n";
            return 1;
        }
        QSaveFile target(path);
        // Flushed and checked before the commit: a full disk must not pass for a write.
        if (!target.open(QIODevice::WriteOnly) || target.write(file.bytes) != file.bytes.size() ||
            !target.flush() || !target.commit()) {
            err << "icongen: cannot write " << path << ": " << target.errorString() << "\n";
            return 1;
        }
        ++written;
    }
    for (const QString &stray : strayFiles(folder, files))
        err << "icongen: " << stray << " is not one of the icons; remove it\n";
    out << "icongen: wrote " << written << " changed files below " << folder.path() << "\n";
    return 0;
}

int check(const QDir &folder, QTextStream &out, QTextStream &err)
{
    const QList<IconFile> files = buildAll();
    QStringList problems;
    for (const IconFile &file : files) {
        QFile onDisk(folder.filePath(file.path));
        if (!onDisk.open(QIODevice::ReadOnly))
            problems << file.path + QStringLiteral(": cannot be read");
        else if (!matches(file, onDisk.readAll()))
            problems << file.path + QStringLiteral(": differs from a fresh build (run icongen)");
    }
    for (const QString &stray : strayFiles(folder, files))
        problems << stray + QStringLiteral(": is not one of the icons");
    for (const QString &p : problems)
        err << "icongen: " << p << "\n";
    if (!problems.isEmpty())
        return 1;
    out << "icongen: " << files.size() << " icon files below " << folder.path()
        << " match a fresh build\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool checkOnly = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (checkOnly)
        args.removeFirst();
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        err << "usage: icongen [--check] ICON_FOLDER\n"
               "  draws the programs' icons into ICON_FOLDER/hicolor/ (SVG and PNGs); with\n"
               "  --check, compares the files there with a fresh build and exits 1 on a "
               "difference\n";
        return 2;
    }
    const QDir folder(args.first());
    return checkOnly ? check(folder, out, err) : write(folder, out, err);
}
