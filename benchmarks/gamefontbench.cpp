// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long finding and reading a game's font takes, and the memory it
// takes beyond what the program held before, in game folders of sparse archives
// (their members are holes: only headers, directories and the font are written):
//   - an installation of about 400 MB per game: for each game family, a base
//     folder of large archives with the font in the lowest one, so every
//     directory is read, and a mod folder above it;
//   - Quake III folders as players with map collections keep them: the shipped
//     pak0.pk3 (which holds the font) alone, beside 128 archives of 65,535
//     members each, and beside 4,999 small pk3 files; all sort after pak0.pk3,
//     so every directory is read before the font is found.
// Prints the first call and the median of the runs (default 20; the first
// argument changes it; the 128 archives run a quarter as often), and the peak
// memory of a first call made in a process of its own.
//
//   gamefontbench [runs] [folder]
// With a folder, the game folders are made there and kept (tools/bench.sh starts
// glyphsmith on them); else in a temporary folder, removed at the end.
#include "gamedatabuilders.h"
#include "gamefont.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

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

// A field of /proc/self/status, in kB.
long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The peak resident memory one call of `find` adds, in kB, measured in a child
// process whose high-water mark is reset just before (/proc/self/clear_refs);
// -1 if it could not be measured or the call failed.
template <typename Find> long extraMemoryKb(Find find)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        const long before = statusKb("VmRSS");
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
        clear.close();
        const bool ok = find();
        const long extra = reset && ok ? statusKb("VmHWM") - before : -1;
        const ssize_t written = ::write(pipeFds[1], &extra, sizeof extra);
        ::_exit(written == sizeof extra ? 0 : 1);
    }
    ::close(pipeFds[1]);
    long extra = -1;
    if (::read(pipeFds[0], &extra, sizeof extra) != sizeof extra)
        extra = -1;
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    return extra;
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
    int runs;
};

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 20);
    QTemporaryDir dir;
    const QString root =
        argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : dir.path();

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

    // Players' folders: the shipped pak0.pk3 (the font among 3,500 members), and
    // beside it 128 map archives of 65,535 members each (the most a pk3's end
    // record counts, and all the engine reads of one) or 4,999 small pk3s, all
    // named to sort after pak0.pk3.
    const int mapArchives = 128;
    const int mapMembers = 65535;
    const int smallArchives = 4999;
    const QList<Member> font{{"gfx/2d/bigchars.tga", tga(bigchars, TgaRows::BottomUp)}};
    for (const char *folder : {"q3one/baseq3", "q3maps/baseq3", "q3small/baseq3"}) {
        const QString path = root + QLatin1Char('/') + QLatin1String(folder);
        ok = ok && QDir().mkpath(path) &&
             writeZip(path + QStringLiteral("/pak0.pk3"), font, 3500, kSetBytes / 3500);
    }
    for (int i = 0; i < mapArchives && ok; ++i)
        ok = writeZip(
            root + QStringLiteral("/q3maps/baseq3/zmaps%1.pk3").arg(i, 3, 10, QLatin1Char('0')), {},
            mapMembers, 2048);
    for (int i = 0; i < smallArchives && ok; ++i)
        ok = writeZip(
            root + QStringLiteral("/q3small/baseq3/zsmall%1.pk3").arg(i, 4, 10, QLatin1Char('0')),
            {}, 12, 4096);
    if (!ok) {
        std::fprintf(stderr, "gamefontbench: could not write the archives in %s\n",
                     qPrintable(root));
        return 1;
    }

    const Case cases[] = {
        {"Quake, 4 paks, 8,002 members", GameFont::Engine::Quake, root + QStringLiteral("/q1/mod"),
         runs},
        {"Hexen II, 4 paks, 8,002 members", GameFont::Engine::Hexen2,
         root + QStringLiteral("/h2/mod"), runs},
        {"Quake II, 4 paks, 8,002 members", GameFont::Engine::Quake2,
         root + QStringLiteral("/q2/mod"), runs},
        {"Quake III, 1 + 8 pk3s, 3,820 members", GameFont::Engine::Quake3,
         root + QStringLiteral("/oa/baseoa"), runs},
        {"Quake III, 8 pk3s, 24,008 members", GameFont::Engine::Quake3,
         root + QStringLiteral("/q3/mod"), runs},
        {"Quake III, pak0.pk3 alone", GameFont::Engine::Quake3,
         root + QStringLiteral("/q3one/baseq3"), runs},
        {"Quake III, + 128 pk3s x 65,535 members", GameFont::Engine::Quake3,
         root + QStringLiteral("/q3maps/baseq3"), std::max(1, runs / 4)},
        {"Quake III, + 4,999 small pk3s", GameFont::Engine::Quake3,
         root + QStringLiteral("/q3small/baseq3"), runs},
    };
    std::printf("gamefont: the font from the lowest archive of a folder; the median of %d runs "
                "(the 128 archives: %d); memory: the peak a first call adds\n",
                runs, std::max(1, runs / 4));
    // Memory first: a child forked later would reuse the heap the timed runs left
    // behind, already resident, and show too little.
    QList<long> extraKb;
    for (const Case &c : cases)
        extraKb.append(
            extraMemoryKb([&] { return GameFont::fromGameFolder(c.engine, c.folder).ok(); }));
    int failures = 0;
    QHash<QString, double> medians;
    for (qsizetype i = 0; i < qsizetype(std::size(cases)); ++i) {
        const Case &c = cases[i];
        QList<double> times;
        for (int run = 0; run < c.runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const GameFont::Result found = GameFont::fromGameFolder(c.engine, c.folder);
            times.append(timer.nsecsElapsed() / 1.0e6);
            if (!found.ok()) {
                std::fprintf(stderr, "gamefont: %s: %s\n", c.label, qPrintable(found.error.detail));
                ++failures;
                break;
            }
        }
        const double first = times.first();
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        medians.insert(QString::fromLatin1(c.label), median);
        std::printf("  %-40s first %8.2f ms   median %8.2f ms   memory %7.1f MB\n", c.label, first,
                    median, extraKb[i] / 1024.0);
    }
    const double alone = medians.value(QStringLiteral("Quake III, pak0.pk3 alone"));
    if (alone > 0)
        std::printf("  128 pk3s x 65,535 members / pak0.pk3 alone: %.2f x\n",
                    medians.value(QStringLiteral("Quake III, + 128 pk3s x 65,535 members")) /
                        alone);
    return failures == 0 ? 0 : 1;
}
