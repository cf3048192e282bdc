// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamedatabuilders.h"
#include "gamefont.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace GameDataBuilders;

namespace {

// Glyph n of a font picture is filled with colour n, but for its top-left
// pixel, which is transparent.
QByteArray quakeFont(int width = 128, int height = 128, int glyph = 8)
{
    return indices(width, height, [=](int x, int y) {
        const int n = (y / glyph) * (width / glyph) + x / glyph;
        if (x % glyph == 0 && y % glyph == 0)
            return 0;
        // Hexen II's second half (coloured text) must not show.
        return n < 256 ? n : 7;
    });
}

QByteArray hexenFont()
{
    return quakeFont(256, 128, 8);
}

QImage quake3Picture(int side)
{
    const int glyph = side / 16;
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int n = (y / glyph) * 16 + x / glyph;
            const bool corner = x % glyph == 0 && y % glyph == 0;
            image.setPixel(x, y, corner ? qRgba(255, 255, 255, 0) : paletteColour(n));
        }
    return image;
}

QByteArray quake2Font(const QByteArray &colours)
{
    return pcx(quakeFont(), 128, 128, colours);
}

// The grid a font above must give: cell n in colour n, black where listed,
// its top-left corner (2 x 2 pixels for a doubled 8-pixel glyph) black or in
// colour 0.
QImage expectedGrid(const QList<int> &blackCells, bool blackCorners, int glyph)
{
    const int corner = 16 / glyph;
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int n = (y / 16) * 16 + x / 16;
            const bool inCorner = x % 16 < corner && y % 16 < corner;
            int colour = inCorner ? 0 : n;
            bool black = inCorner ? blackCorners : blackCells.contains(n);
            image.setPixel(x, y, black ? qRgb(0, 0, 0) : paletteColour(colour));
        }
    return image;
}

const QByteArray kConchars = "conchars";

Members quakePak()
{
    return {{"gfx.wad", wad({{"other", "x"}, {kConchars, quakeFont()}})},
            {"gfx/palette.lmp", palette()}};
}

// What writeAll makes in place of a file for these contents.
const QByteArray kPipe = QByteArrayLiteral("\0pipe");
const QByteArray kFolder = QByteArrayLiteral("\0folder");

void writeAll(const QString &root, const QList<QPair<QString, QByteArray>> &files)
{
    for (const auto &[path, bytes] : files) {
        const QString full = root + QLatin1Char('/') + path;
        if (bytes == kPipe) {
            QVERIFY(QDir().mkpath(QFileInfo(full).path()));
            QVERIFY2(::mkfifo(QFile::encodeName(full).constData(), 0600) == 0, qPrintable(path));
        } else if (bytes == kFolder) {
            QVERIFY2(QDir().mkpath(full), qPrintable(path));
        } else {
            QVERIFY2(write(full, bytes), qPrintable(path));
        }
    }
}

using Files = QList<QPair<QString, QByteArray>>;

} // namespace

class TestGameFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEachGamesFont_data();
    void readsEachGamesFont();
    void followsTheEnginesOrder_data();
    void followsTheEnginesOrder();
    void refusesBadData_data();
    void refusesBadData();
    void drawsAlphaOverBlack_data();
    void drawsAlphaOverBlack();
    void tintMultipliesByTheColour();

private:
    GameFont::Result run(const QString &root, int engine, const QString &folder,
                         const QString &file);
};

GameFont::Result TestGameFont::run(const QString &root, int engine, const QString &folder,
                                   const QString &file)
{
    if (!file.isEmpty())
        return GameFont::fromFile(root + QLatin1Char('/') + file, GameFont::Engine(engine));
    if (!folder.contains(QLatin1Char(';')))
        return GameFont::fromGameFolder(GameFont::Engine(engine), root + QLatin1Char('/') + folder);
    // Several folders, the first over the rest.
    QStringList folders;
    for (const QString &each : folder.split(QLatin1Char(';')))
        folders.append(root + QLatin1Char('/') + each);
    return GameFont::fromGameFolders(GameFont::Engine(engine), folders);
}

void TestGameFont::readsEachGamesFont_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("folder"); // searched as a game folder, or
    QTest::addColumn<QString>("file");   // chosen as a file
    QTest::addColumn<QList<int>>("blackCells");
    QTest::addColumn<bool>("blackCorners");
    QTest::addColumn<int>("glyph");
    QTest::addColumn<QString>("source");

    const int qw = int(GameFont::Engine::Quake);
    const int h2 = int(GameFont::Engine::Hexen2);
    const int q2 = int(GameFont::Engine::Quake2);
    const int q3 = int(GameFont::Engine::Quake3);
    const QByteArray white(768, '\xFF');
    const QList<int> quakeBlack{0, 255};

    QTest::newRow("Quake: gfx.wad in a pak")
        << Files{{"id1/pak0.pak", pak(quakePak())}} << qw << "id1"
        << "" << quakeBlack << true << 8
        << "id1/pak0.pak: gfx.wad: conchars; colours from %1/id1/pak0.pak: gfx/palette.lmp";
    QTest::newRow("Hexen II: the first 256 of 512 glyphs")
        << Files{{"data1/pak0.pak",
                  pak({{"gfx/menu/conchars.lmp", hexenFont()}, {"gfx/palette.lmp", palette()}})}}
        << h2 << "data1"
        << "" << quakeBlack << true << 8
        << "data1/pak0.pak: gfx/menu/conchars.lmp; colours from %1/data1/pak0.pak: "
           "gfx/palette.lmp";
    QTest::newRow("Quake II: colours from colormap.pcx, 255 transparent")
        << Files{{"baseq2/pak0.pak", pak({{"pics/conchars.pcx", quake2Font(white)},
                                          {"pics/colormap.pcx", quake2Font(palette())}})}}
        << q2 << "baseq2"
        << "" << QList<int>{255} << false << 8
        << "baseq2/pak0.pak: pics/conchars.pcx; colours from %1/baseq2/pak0.pak: "
           "pics/colormap.pcx";
    QTest::newRow("Quake II: a lone pcx in its own colours")
        << Files{{"conchars.pcx", quake2Font(palette())}} << q2 << ""
        << "conchars.pcx" << QList<int>{255} << false << 8 << "conchars.pcx";
    QTest::newRow("Quake III: bottom-up tga in a pk3")
        << Files{{"baseq3/pak0.pk3",
                  zip({{"gfx/2d/bigchars.tga", tga(quake3Picture(256), TgaRows::BottomUp)}})}}
        << q3 << "baseq3"
        << "" << QList<int>{} << true << 16 << "baseq3/pak0.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("Quake III: run-length 128-pixel tga, doubled")
        << Files{{"bigchars.tga", tga(quake3Picture(128), TgaRows::BottomUp, true)}} << q3 << ""
        << "bigchars.tga" << QList<int>{} << true << 8 << "bigchars.tga";
    QTest::newRow("MOD dialog: a mod's pak takes the palette of id1")
        << Files{{"mod/pak0.pak", pak({{"gfx.wad", wad({{kConchars, quakeFont()}})}})},
                 {"id1/pak0.pak", pak({{"gfx/palette.lmp", palette()}})}}
        << qw << ""
        << "mod/pak0.pak" << quakeBlack << true << 8
        << "mod/pak0.pak: gfx.wad: conchars; colours from %1/id1/pak0.pak: gfx/palette.lmp";
    QTest::newRow("MOD dialog: a Hexen II pak in the Quake mode")
        << Files{{"data1/pak0.pak", pak({{"gfx.wad", wad({{"tinyfont", "x"}})},
                                         {"gfx/menu/conchars.lmp", hexenFont()},
                                         {"gfx/palette.lmp", palette()}})}}
        << qw << ""
        << "data1/pak0.pak" << quakeBlack << true << 8
        << "data1/pak0.pak: gfx/menu/conchars.lmp; colours from %1/data1/pak0.pak: "
           "gfx/palette.lmp";
    QTest::newRow("MOD dialog: a pk3 for a Quake mod")
        << Files{{"mod/x.pk3",
                  zip({{"gfx/2d/bigchars.tga", tga(quake3Picture(256), TgaRows::BottomUp)}})}}
        << qw << ""
        << "mod/x.pk3" << QList<int>{} << true << 16 << "mod/x.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("MOD dialog: a wad beside its game's paks")
        << Files{{"id1/gfx.wad", wad({{kConchars, quakeFont()}})},
                 {"id1/pak0.pak", pak({{"gfx/palette.lmp", palette()}})}}
        << qw << ""
        << "id1/gfx.wad" << quakeBlack << true << 8
        << "id1/gfx.wad: conchars; colours from %1/id1/pak0.pak: gfx/palette.lmp";
    QTest::newRow("MOD dialog: Hexen II's lmp, palette two folders up")
        << Files{{"data1/gfx/menu/conchars.lmp", hexenFont()}, {"data1/gfx/palette.lmp", palette()}}
        << h2 << ""
        << "data1/gfx/menu/conchars.lmp" << quakeBlack << true << 8
        << "data1/gfx/menu/conchars.lmp; colours from %1/data1/gfx/palette.lmp";
    QTest::newRow("MOD dialog: Quake's conchars with a picture header")
        << Files{{"conchars.lmp", le32(128) + le32(128) + quakeFont()},
                 {"gfx/palette.lmp", palette()}}
        << qw << ""
        << "conchars.lmp" << quakeBlack << true << 8
        << "conchars.lmp; colours from %1/gfx/palette.lmp";
}

void TestGameFont::readsEachGamesFont()
{
    QFETCH(Files, files);
    QFETCH(int, engine);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QList<int>, blackCells);
    QFETCH(bool, blackCorners);
    QFETCH(int, glyph);
    QFETCH(QString, source);

    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    writeAll(root, files);
    const GameFont::Result font = run(root, engine, folder, file);
    QVERIFY2(font.ok(), qPrintable(font.error.detail));
    QCOMPARE(font.value.image.format(), QImage::Format_RGB32);
    QCOMPARE(font.value.image, expectedGrid(blackCells, blackCorners, glyph));
    if (source.contains(QLatin1String("%1")))
        source = source.arg(root);
    QCOMPARE(font.value.source, root + QLatin1Char('/') + source);
}

void TestGameFont::followsTheEnginesOrder_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("winner"); // the start of the source

    const int qw = int(GameFont::Engine::Quake);
    const int h2 = int(GameFont::Engine::Hexen2);
    const int q2 = int(GameFont::Engine::Quake2);
    const int q3 = int(GameFont::Engine::Quake3);
    const QByteArray quake = pak(quakePak());
    const QByteArray looseWad = wad({{kConchars, quakeFont()}});
    const QByteArray hexen =
        pak({{"gfx/menu/conchars.lmp", hexenFont()}, {"gfx/palette.lmp", palette()}});
    const QByteArray quake2 = pak({{"pics/conchars.pcx", quake2Font(palette())}});
    const QByteArray tgaFont = tga(quake3Picture(256), TgaRows::BottomUp);
    const QByteArray quake3 = zip({{"gfx/2d/bigchars.tga", tgaFont}});
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(quake3Picture(256).save(&buffer, "JPEG"));

    QTest::newRow("Quake: a later pak over an earlier")
        << Files{{"id1/pak0.pak", quake}, {"id1/pak1.pak", quake}} << qw << "id1"
        << "id1/pak1.pak: gfx.wad";
    QTest::newRow("Quake: paks over loose files")
        << Files{{"id1/pak0.pak", quake}, {"id1/gfx.wad", looseWad}} << qw << "id1"
        << "id1/pak0.pak: gfx.wad";
    QTest::newRow("Quake: no pak after a missing number")
        << Files{{"id1/pak0.pak", quake}, {"id1/pak2.pak", quake}} << qw << "id1"
        << "id1/pak0.pak: gfx.wad";
    QTest::newRow("Quake: names in paks are exact")
        << Files{{"id1/pak0.pak", pak({{"GFX.WAD", looseWad}, {"gfx/palette.lmp", palette()}})},
                 {"id1/gfx.wad", looseWad}}
        << qw << "id1"
        << "id1/gfx.wad";
    QTest::newRow("Quake: file names from Windows in any case")
        << Files{{"ID1/PAK0.PAK", quake}} << qw << "ID1"
        << "ID1/PAK0.PAK: gfx.wad";
    QTest::newRow("QuakeWorld: a mod over qw over id1")
        << Files{{"mod/pak0.pak", pak({{"gfx.wad", looseWad}})},
                 {"qw/pak0.pak", quake},
                 {"id1/pak0.pak", quake}}
        << qw << "mod"
        << "mod/pak0.pak: gfx.wad";
    QTest::newRow("QuakeWorld: qw over id1 below a mod")
        << Files{{"mod/readme.txt", "x"}, {"qw/pak0.pak", quake}, {"id1/pak0.pak", quake}} << qw
        << "mod"
        << "qw/pak0.pak: gfx.wad";
    QTest::newRow("QuakeWorld: id1 given, qw not searched")
        << Files{{"qw/pak0.pak", quake}, {"id1/pak0.pak", quake}} << qw << "id1"
        << "id1/pak0.pak: gfx.wad";
    QTest::newRow("Hexen II: loose files over paks")
        << Files{{"data1/pak0.pak", hexen}, {"data1/gfx/menu/conchars.lmp", hexenFont()}} << h2
        << "data1"
        << "data1/gfx/menu/conchars.lmp";
    QTest::newRow("Hexen II: pak2 without pak1")
        << Files{{"data1/pak0.pak", hexen}, {"data1/pak2.pak", hexen}} << h2 << "data1"
        << "data1/pak2.pak: gfx/menu/conchars.lmp";
    QTest::newRow("Quake II: paks over loose files, names in any case")
        << Files{{"baseq2/pak0.pak", pak({{"PICS/CONCHARS.PCX", quake2Font(palette())}})},
                 {"baseq2/pics/conchars.pcx", quake2Font(palette())}}
        << q2 << "baseq2"
        << "baseq2/pak0.pak: PICS/CONCHARS.PCX";
    QTest::newRow("Quake II: a mod over baseq2")
        << Files{{"ctf/pak0.pak", quake2}, {"baseq2/pak0.pak", quake2}} << q2 << "ctf"
        << "ctf/pak0.pak: pics/conchars.pcx";
    QTest::newRow("Quake III: later names over earlier, letters as capitals")
        << Files{{"baseq3/pak0.pk3", quake3}, {"baseq3/z.pk3", quake3}, {"baseq3/_x.pk3", quake3}}
        << q3 << "baseq3"
        << "baseq3/_x.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("Quake III: pk3s over loose files")
        << Files{{"baseq3/pak0.pk3", quake3}, {"baseq3/gfx/2d/bigchars.tga", tgaFont}} << q3
        << "baseq3"
        << "baseq3/pak0.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("Quake III: the last of equal names in a pk3")
        << Files{{"baseq3/pak0.pk3",
                  zip({{"gfx/2d/bigchars.tga", tgaFont}, {"GFX/2D/BIGCHARS.TGA", tgaFont}})}}
        << q3 << "baseq3"
        << "baseq3/pak0.pk3: GFX/2D/BIGCHARS.TGA";
    QTest::newRow("Quake III: a mod over baseq3")
        << Files{{"baseq3/pak0.pk3", quake3}, {"cpma/z-cpma.pk3", quake3}} << q3 << "cpma"
        << "cpma/z-cpma.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("Quake III: a jpg when no tga")
        << Files{{"baseq3/pak0.pk3", zip({{"gfx/2d/bigchars.jpg", jpeg}})}} << q3 << "baseq3"
        << "baseq3/pak0.pk3: gfx/2d/bigchars.jpg";
    QTest::newRow("Quake III: a tga anywhere before a jpg")
        << Files{{"baseoa/pak0.pk3", quake3},
                 {"baseoa/pak9.pk3", zip({{"gfx/2d/bigchars.jpg", "not read"}})}}
        << q3 << "baseoa"
        << "baseoa/pak0.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("Quake III: a pipe named like a pk3 passed over")
        << Files{{"baseq3/pak0.pk3", quake3}, {"baseq3/zz.pk3", kPipe}} << q3 << "baseq3"
        << "baseq3/pak0.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("several folders: the home folder over the installation's")
        << Files{{"home/baseoa/a.pk3", quake3},
                 {"data/baseoa/pak0.pk3", quake3},
                 {"data/baseoa/zz.pk3", quake3}}
        << q3 << "home/baseoa;data/baseoa"
        << "home/baseoa/a.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("several folders: a missing one skipped")
        << Files{{"data/baseoa/pak0.pk3", quake3}} << q3 << "home/baseoa;data/baseoa"
        << "data/baseoa/pak0.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("several folders: both mod folders over both bases")
        << Files{{"home/cpma/readme.txt", "x"},
                 {"home/baseq3/z.pk3", quake3},
                 {"data/cpma/a.pk3", quake3},
                 {"data/baseq3/pak0.pk3", quake3}}
        << q3 << "home/cpma;data/cpma"
        << "data/cpma/a.pk3: gfx/2d/bigchars.tga";
    QTest::newRow("several folders: a loose home file over the installation's pak")
        << Files{{"home/id1/gfx.wad", looseWad}, {"data/id1/pak0.pak", quake}} << qw
        << "home/id1;data/id1"
        << "home/id1/gfx.wad";
}

void TestGameFont::followsTheEnginesOrder()
{
    QFETCH(Files, files);
    QFETCH(int, engine);
    QFETCH(QString, folder);
    QFETCH(QString, winner);

    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    writeAll(root, files);
    const GameFont::Result font = run(root, engine, folder, {});
    QVERIFY2(font.ok(), qPrintable(font.error.detail));
    QVERIFY2(font.value.source.startsWith(root + QLatin1Char('/') + winner),
             qPrintable(font.value.source));
}

void TestGameFont::refusesBadData_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("detail"); // the end of the detail

    const int qw = int(GameFont::Engine::Quake);
    const int h2 = int(GameFont::Engine::Hexen2);
    const int q3 = int(GameFont::Engine::Quake3);
    const QByteArray quake = pak(quakePak());
    QByteArray lyingMember = quake;
    put32(lyingMember, quake.size() - 2 * 64 + 60, 1'000'000'000);
    QByteArray farLump = wad({{kConchars, quakeFont()}});
    put32(farLump, farLump.size() - 32, farLump.size());
    const QByteArray tgaFont = tga(quake3Picture(256), TgaRows::BottomUp);
    QByteArray lyingZip = zip({{"gfx/2d/bigchars.tga", tgaFont}});
    // The central directory's uncompressed size, far beyond the cap.
    put32(lyingZip, lyingZip.indexOf("PK\x01\x02") + 24, 0xFFFFFFF0);

    // 16 MB of zeros that state 100 bytes, and a zip of zips of it.
    const QByteArray bomb = deflatedZip("gfx/2d/bigchars.tga", QByteArray(1 << 24, '\0'), 100);
    const QByteArray nested = zip({{"a.zip", zip({{"b.zip", bomb}})}, {"c.zip", bomb}});

    const int damaged = GameDataError::Damaged;
    const int unsupported = GameDataError::Unsupported;
    const int notFound = GameDataError::NotFound;
    const int notAFile = GameDataError::NotAFile;

    QTest::newRow("a 42-byte pak claiming a huge directory")
        << Files{{"id1/pak0.pak", "PACK" + le32(12) + le32(0x7FFFFFC0) + QByteArray(30, 'x')}} << qw
        << "id1"
        << "" << damaged << "claims 33554431 files; the games read at most 4096";
    QTest::newRow("a pak cut short")
        << Files{{"id1/pak0.pak", quake.left(quake.size() - 10)}} << qw << "id1"
        << "" << damaged
        << "runs past the end of the file (" + QString::number(quake.size() - 10) + " bytes)";
    QTest::newRow("a pak member's size that lies")
        << Files{{"id1/pak0.pak", lyingMember}} << qw << "id1"
        << "" << damaged
        << "run past the end of the archive (" + QString::number(quake.size()) + " bytes)";
    QTest::newRow("a wad lump beyond its end")
        << Files{{"gfx.wad", farLump}} << qw << ""
        << "gfx.wad" << damaged
        << "runs past the end of the file (" + QString::number(farLump.size()) + " bytes)";
    QTest::newRow("a wad claiming a billion lumps")
        << Files{{"gfx.wad", "WAD2" + le32(1'000'000'000) + le32(12)}} << qw << ""
        << "gfx.wad" << damaged << "claims 1000000000 lumps";
    QTest::newRow("a pk3 cut short")
        << Files{{"baseq3/pak0.pk3", zip({{"gfx/2d/bigchars.tga", tgaFont}}).left(20000)},
                 {"baseq3/gfx/2d/bigchars.tga", tga(quake3Picture(128), TgaRows::BottomUp)}}
        << q3 << "baseq3"
        << "" << -1 << "";
    QTest::newRow("a pk3 cut short, no other font")
        << Files{{"baseq3/pak0.pk3", zip({{"gfx/2d/bigchars.tga", tgaFont}}).left(20000)}} << q3
        << "baseq3"
        << "" << damaged
        << "<root>/baseq3/pak0.pk3 (a damaged archive): starts as a zip archive, but no end "
           "record closes it (cut short?); no other place in <root>/baseq3 (1 archive) holds "
           "gfx/2d/bigchars.tga";
    QTest::newRow("a chosen pk3 cut short")
        << Files{{"x.pk3", zip({{"gfx/2d/bigchars.tga", tgaFont}}).left(20000)}} << q3 << ""
        << "x.pk3" << damaged
        << "x.pk3 (a damaged archive): starts as a zip archive, but no end record closes it "
           "(cut short?)";
    QTest::newRow("a pk3 member's size that lies")
        << Files{{"baseq3/pak0.pk3", lyingZip}} << q3 << "baseq3"
        << "" << unsupported
        << "gfx/2d/bigchars.tga: is too large: 4294967280 bytes, more than the 17825792 a font "
           "may take";
    QTest::newRow("a tga cut short")
        << Files{{"a.tga", tgaFont.left(100000)}} << q3 << ""
        << "a.tga" << damaged << "holds 99982 bytes of pixels, too few for 256 x 256";
    QTest::newRow("a tga not square")
        << Files{{"a.tga", tga(QImage(128, 64, QImage::Format_ARGB32), TgaRows::BottomUp)}} << q3
        << ""
        << "a.tga" << unsupported
        << "is 128 x 64 pixels, not a square of 16 x 16 glyphs (128 x 128 or 256 x 256)";
    QTest::newRow("a pcx cut short")
        << Files{{"a.pcx", quake2Font(palette()).left(2000)}} << qw << ""
        << "a.pcx" << damaged << " of 128";
    QTest::newRow("a short palette")
        << Files{{"id1/pak0.pak", pak({{"gfx.wad", wad({{kConchars, quakeFont()}})},
                                       {"gfx/palette.lmp", palette().left(700)}})}}
        << qw << "id1"
        << "" << damaged << "gfx/palette.lmp: is 700 bytes, not 768";
    QTest::newRow("no palette anywhere")
        << Files{{"mod/pak0.pak", pak({{"gfx.wad", wad({{kConchars, quakeFont()}})}})}} << qw << ""
        << "mod/pak0.pak" << notFound << "(1 archive)";
    QTest::newRow("Hexen II's font of the wrong size")
        << Files{{"data1/pak0.pak", pak({{"gfx/menu/conchars.lmp", quakeFont()}})}} << h2 << "data1"
        << "" << unsupported << "is 16384 bytes, not the 32768 of a 256 x 128 font";
    QTest::newRow("no archive in the folder") << Files{{"id1/readme.txt", "x"}} << qw << "id1"
                                              << "" << notFound << "/id1 (no archive there)";
    QTest::newRow("a folder that does not exist") << Files{} << qw << "nowhere"
                                                  << "" << notFound << "/nowhere does not exist";
    QTest::newRow("a pipe chosen as a font")
        << Files{{"a.tga", kPipe}} << q3 << ""
        << "a.tga" << notAFile << "/a.tga: it is a pipe, not a regular file";
    QTest::newRow("a pipe in place of pak0.pak")
        << Files{{"id1/pak0.pak", kPipe}} << qw << "id1"
        << "" << notAFile << "id1/pak0.pak: it is a pipe, not a regular file";
    QTest::newRow("a folder in place of the palette")
        << Files{{"id1/pak0.pak", pak({{"gfx.wad", wad({{kConchars, quakeFont()}})}})},
                 {"id1/gfx/palette.lmp", kFolder}}
        << qw << "id1"
        << "" << notFound
        << "<root>/id1/gfx/palette.lmp: it is a folder, not a file; no other place in <root>/id1 "
           "(1 archive) holds gfx/palette.lmp";
    QTest::newRow("several folders, none there")
        << Files{} << qw << "a/id1;b/id1"
        << "" << notFound << "None of the game folders <root>/a/id1, <root>/b/id1 exists";
    QTest::newRow("a zip bomb in place of the font")
        << Files{{"baseq3/pak0.pk3", bomb}} << q3 << "baseq3"
        << "" << damaged << "gfx/2d/bigchars.tga: inflates past the 100 bytes it states";
    QTest::newRow("a nested zip bomb chosen")
        << Files{{"bomb.zip", nested}} << qw << ""
        << "bomb.zip" << notFound
        << "No gfx.wad, gfx/menu/conchars.lmp, pics/conchars.pcx or gfx/2d/bigchars.tga in "
           "<root>/bomb.zip";
    QTest::newRow("a palette chosen as a font")
        << Files{{"palette.lmp", palette()}} << qw << ""
        << "palette.lmp" << unsupported << "palette.lmp is a palette, not a font";
}

void TestGameFont::refusesBadData()
{
    QFETCH(Files, files);
    QFETCH(int, engine);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(int, kind);
    QFETCH(QString, detail);

    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    writeAll(root, files);
    const GameFont::Result font = run(root, engine, folder, file);
    if (kind < 0) {
        // Quake III passes over a pk3 it cannot open and takes the loose file.
        QVERIFY2(font.ok(), qPrintable(font.error.detail));
        QVERIFY(font.value.source.endsWith(QLatin1String("baseq3/gfx/2d/bigchars.tga")));
        return;
    }
    QVERIFY(!font.ok());
    QVERIFY(font.value.image.isNull());
    QVERIFY2(font.error.detail.endsWith(QString(detail).replace(QLatin1String("<root>"), root)),
             qPrintable(font.error.detail));
    QCOMPARE(font.error.kind, GameDataError::Kind(kind));
}

// Quake III's fonts are white, shaped by their alpha, and blended over what is
// behind: the grid shows them over black.
void TestGameFont::drawsAlphaOverBlack_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<uint>("pixel"); // every pixel of the picture
    QTest::addColumn<uint>("shown");

    QTest::newRow("white of alpha 64, a glyph's edge, is grey")
        << 256 << uint(qRgba(255, 255, 255, 64)) << uint(qRgb(64, 64, 64));
    QTest::newRow("white of alpha 1 is all but black")
        << 256 << uint(qRgba(255, 255, 255, 1)) << uint(qRgb(1, 1, 1));
    QTest::newRow("a colour of alpha 128 is halved")
        << 256 << uint(qRgba(200, 100, 0, 128)) << uint(qRgb(100, 50, 0));
    QTest::newRow("an opaque colour is kept")
        << 256 << uint(qRgba(200, 120, 40, 255)) << uint(qRgb(200, 120, 40));
    QTest::newRow("a 128-pixel font's edge, doubled, is grey")
        << 128 << uint(qRgba(255, 255, 255, 64)) << uint(qRgb(64, 64, 64));
}

void TestGameFont::drawsAlphaOverBlack()
{
    QFETCH(int, side);
    QFETCH(uint, pixel);
    QFETCH(uint, shown);

    QImage picture(side, side, QImage::Format_ARGB32);
    picture.fill(QColor::fromRgba(pixel));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bigchars.tga"));
    QVERIFY(write(path, tga(picture, TgaRows::BottomUp)));
    const GameFont::Result font = GameFont::fromFile(path, GameFont::Engine::Quake3);
    QVERIFY2(font.ok(), qPrintable(font.error.detail));
    QCOMPARE(font.value.image.pixel(37, 201), QRgb(shown));
    QCOMPARE(GameFont::tint(font.value.image, 1).pixel(37, 201), QRgb(shown) & 0xFFFF0000u);
}

void TestGameFont::tintMultipliesByTheColour()
{
    QImage white(256, 256, QImage::Format_RGB32);
    white.fill(qRgb(200, 100, 50));
    const QList<QRgb> expected{qRgb(0, 0, 0),     qRgb(200, 0, 0),   qRgb(0, 100, 0),
                               qRgb(200, 100, 0), qRgb(0, 0, 50),    qRgb(0, 100, 50),
                               qRgb(200, 0, 50),  qRgb(200, 100, 50)};
    for (int index = 0; index < 8; ++index) {
        const QImage tinted = GameFont::tint(white, index);
        QCOMPARE(tinted.size(), white.size());
        QCOMPARE(tinted.pixel(128, 128), expected[index]);
    }
    QVERIFY(GameFont::tint(white, 8).isNull());
    QVERIFY(GameFont::tint(white, -1).isNull());
}

QTEST_GUILESS_MAIN(TestGameFont)
#include "tst_gamefont.moc"
