// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long finding and reading a game's font takes in an installation
// of about 400 MB per game: for each game family, a base folder of large
// archives (sparse files: their members are holes, only headers, directories
// and the font are written) with the font in the lowest archive, so every
// directory is read, and a mod folder above it. Prints the first call and the
// median of the runs (default 20; the first argument changes it).
#include "gamedatabuilders.h"
#include "gamefont.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

using namespace GameDataBuilders;

constexpr qint64 kMegabyte = 1024 * 1024;
constexpr qint64 kSetBytes = 400 * kMegabyte;

struct Member
{
    QByteArray name;
    QByteArray bytes; // written; empty members are holes of `size` bytes
    qint64 size = 0;
};

// Writes `bytes` at `at`, leaving a hole before it when `at` lies past the end.
bool writeAt(QFile &file, qint64 at, const QByteArray &bytes)
{
    return file.seek(at) && file.write(bytes) == bytes.size();
}

// A PACK archive of `count` members of `size` bytes each, after the written ones.
bool writePak(const QString &path, const QList<Member> &written, int count, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray directory;
    qint64 at = 12;
    auto add = [&](const QByteArray &name, qint64 length) {
        QByteArray entry = name.left(55);
        entry.resize(56, '\0');
        directory += entry + le32(at) + le32(length);
        at += length;
    };
    for (const Member &m : written) {
        if (!writeAt(file, at, m.bytes))
            return false;
        add(m.name, m.bytes.size());
    }
    for (int i = 0; i < count; ++i)
        add("maps/filler" + QByteArray::number(i) + ".bsp", size);
    return writeAt(file, 0, "PACK" + le32(at) + le32(directory.size())) &&
           writeAt(file, at, directory);
}

// A zip of stored members: the written ones first, then `count` holes of `size`
// bytes each (their local headers are never read; the central directory is).
bool writeZip(const QString &path, const QList<Member> &written, int count, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray directory;
    qint64 at = 0;
    int entries = 0;
    auto add = [&](const QByteArray &name, const QByteArray &bytes, qint64 length) {
        const QByteArray common = le16(0) + le16(0) + le16(0) + le16(0x21) +
                                  le32(bytes.isEmpty() ? 0 : crc32(bytes)) + le32(length) +
                                  le32(length) + le16(name.size()) + le16(0);
        directory += "PK\x01\x02" + le16(20) + le16(20) + common + le16(0) + le16(0) + le16(0) +
                     le32(0) + le32(at) + name;
        const QByteArray local = "PK\x03\x04" + le16(20) + common + name;
        const bool ok = bytes.isEmpty() || writeAt(file, at, local + bytes);
        at += local.size() + length;
        ++entries;
        return ok;
    };
    for (const Member &m : written) {
        if (!add(m.name, m.bytes, m.bytes.size()))
            return false;
    }
    for (int i = 0; i < count; ++i)
        add("textures/filler/" + QByteArray::number(i) + ".jpg", {}, size);
    const QByteArray end = "PK\x05\x06" + le16(0) + le16(0) + le16(entries) + le16(entries) +
                           le32(directory.size()) + le32(at) + le16(0);
    return writeAt(file, at, directory + end);
}

QByteArray glyphs(int width, int height)
{
    QByteArray bytes(qsizetype(width) * height, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i % 251);
    return bytes;
}

struct Case
{
    const char *label;
    GameFont::Engine engine;
    QString folder;
    int archives;
};

} // namespace

int main(int argc, char *argv[])
{
    // As glyphsmith runs: the zone named, so libzip need not look it up per member.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QGuiApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 20);
    QTemporaryDir dir;
    const QString root = dir.path();

    // Each game: archives of about 100 MB (Quake's paks) or 50 MB (pk3s), with
    // directories of the size the real ones have (a few thousand members).
    const int paks = 4;
    const int pk3s = 8;
    const int pakMembers = 2000;
    const int pk3Members = 3000;
    const qint64 pakMember = kSetBytes / paks / pakMembers;
    const qint64 pk3Member = kSetBytes / pk3s / pk3Members;
    const QByteArray palette(768, '\x50');
    bool ok = true;
    for (const char *mod : {"q1/mod", "h2/mod", "q2/mod", "q3/mod", "oa/mod"})
        ok = ok && QDir().mkpath(root + QLatin1Char('/') + QLatin1String(mod));
    for (const char *base : {"q1/id1", "h2/data1", "q2/baseq2", "q3/baseq3", "oa/baseoa"})
        ok = ok && QDir().mkpath(root + QLatin1Char('/') + QLatin1String(base));
    for (int i = 0; i < paks && ok; ++i) {
        const bool lowest = i == 0;
        const QString name = QStringLiteral("/pak%1.pak").arg(i);
        ok =
            writePak(root + QStringLiteral("/q1/id1") + name,
                     lowest ? QList<Member>{{"gfx.wad", wad({{"conchars", glyphs(128, 128)}})},
                                            {"gfx/palette.lmp", palette}}
                            : QList<Member>{},
                     pakMembers, pakMember) &&
            writePak(root + QStringLiteral("/h2/data1") + name,
                     lowest ? QList<Member>{{"gfx/menu/conchars.lmp", glyphs(256, 128)},
                                            {"gfx/palette.lmp", palette}}
                            : QList<Member>{},
                     pakMembers, pakMember) &&
            writePak(
                root + QStringLiteral("/q2/baseq2") + name,
                lowest
                    ? QList<Member>{{"pics/conchars.pcx", pcx(glyphs(128, 128), 128, 128, palette)},
                                    {"pics/colormap.pcx", pcx(glyphs(128, 128), 128, 128, palette)}}
                    : QList<Member>{},
                pakMembers, pakMember);
    }
    // Quake III as shipped: one large pak0.pk3 of 3,500 members and eight small
    // point-release pk3s; and a player's folder of eight large pk3s.
    QImage bigchars(256, 256, QImage::Format_ARGB32);
    bigchars.fill(qRgba(200, 120, 40, 255));
    for (int i = 0; i < pk3s && ok; ++i) {
        const QList<Member> font{{"gfx/2d/bigchars.tga", tga(bigchars, TgaRows::BottomUp)}};
        ok = writeZip(root + QStringLiteral("/q3/baseq3/pak%1.pk3").arg(i),
                      i == 0 ? font : QList<Member>{}, pk3Members, pk3Member) &&
             writeZip(root + QStringLiteral("/oa/baseoa/pak%1.pk3").arg(i),
                      i == 0 ? font : QList<Member>{}, i == 0 ? 3500 : 40,
                      i == 0 ? kSetBytes * 7 / 8 / 3500 : kSetBytes / 8 / 8 / 40);
    }
    if (!ok) {
        std::fprintf(stderr, "gamefontbench: could not write the archives in %s\n",
                     qPrintable(root));
        return 1;
    }

    const Case cases[] = {
        {"Quake, 4 paks, 8,002 members", GameFont::Engine::Quake, root + QStringLiteral("/q1/mod"),
         paks},
        {"Hexen II, 4 paks, 8,002 members", GameFont::Engine::Hexen2,
         root + QStringLiteral("/h2/mod"), paks},
        {"Quake II, 4 paks, 8,002 members", GameFont::Engine::Quake2,
         root + QStringLiteral("/q2/mod"), paks},
        {"Quake III, 1 + 8 pk3s, 3,820 members", GameFont::Engine::Quake3,
         root + QStringLiteral("/oa/baseoa"), pk3s},
        {"Quake III, 8 pk3s, 24,008 members", GameFont::Engine::Quake3,
         root + QStringLiteral("/q3/mod"), pk3s},
    };
    std::printf("gamefont: the font from the lowest archive of a %lld MB set, under a mod "
                "folder; %d runs\n",
                kSetBytes / kMegabyte, runs);
    int failures = 0;
    for (const Case &c : cases) {
        QList<double> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const GameFont::Result font = GameFont::fromGameFolder(c.engine, c.folder);
            times.append(timer.nsecsElapsed() / 1.0e6);
            if (!font.ok()) {
                std::fprintf(stderr, "gamefont: %s: %s\n", c.label, qPrintable(font.error.detail));
                ++failures;
                break;
            }
        }
        const double first = times.first();
        std::sort(times.begin(), times.end());
        std::printf("  %-38s first %6.2f ms   median %6.2f ms\n", c.label, first,
                    times[times.size() / 2]);
    }
    return failures == 0 ? 0 : 1;
}
