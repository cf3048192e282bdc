// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamefont.h"

#include "bytesource.h"
#include "fontgrid.h"
#include "gamesearchpath.h"
#include "pcxreader.h"
#include "tgareader.h"
#include "wadfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <optional>

namespace GameFont {

namespace {

// The largest font file read whole: a 2048-pixel square TGA and its header.
constexpr qint64 kMaxFontBytes = 17 * 1024 * 1024;
constexpr int kPaletteBytes = 768;
constexpr int kQuakeSide = 128;
constexpr qint64 kQuakeBytes = kQuakeSide * kQuakeSide;
constexpr int kHexenWidth = 256;
constexpr int kHexenHeight = 128;
constexpr qint64 kHexenBytes = kHexenWidth * kHexenHeight;

enum class Kind { QuakeWad, HexenLmp, Quake2Pcx, Quake3Tga };

// Where each game keeps its font and its colours, and how it searches its
// folders (Quake common.c COM_AddGameDirectory, COM_FindFile; Hexen II
// common.c COM_AddGameDirectory; Quake II files.c FS_AddGameDirectory,
// FS_FOpenFile; Quake III files.c FS_AddGameDirectory, paksort).
struct Rule
{
    Engine engine;
    Kind kind;
    const char *font;
    const char *fallbackFont; // looked for when no place has `font`
    const char *palette;
    GameSearchPath::Rules search;
};

const Rule kRules[] = {
    {Engine::Quake,
     Kind::QuakeWad,
     "gfx.wad",
     nullptr,
     "gfx/palette.lmp",
     {GameSearchPath::Archives::PaksUntilGap,
      false,
      Qt::CaseSensitive,
      {QStringLiteral("qw"), QStringLiteral("id1")}}},
    {Engine::Hexen2,
     Kind::HexenLmp,
     "gfx/menu/conchars.lmp",
     nullptr,
     "gfx/palette.lmp",
     {GameSearchPath::Archives::Paks0To9,
      true,
      Qt::CaseSensitive,
      {QStringLiteral("portals"), QStringLiteral("data1")}}},
    {Engine::Quake2,
     Kind::Quake2Pcx,
     "pics/conchars.pcx",
     nullptr,
     "pics/colormap.pcx",
     {GameSearchPath::Archives::Paks0To9, false, Qt::CaseInsensitive, {QStringLiteral("baseq2")}}},
    {Engine::Quake3,
     Kind::Quake3Tga,
     "gfx/2d/bigchars.tga",
     "gfx/2d/bigchars.jpg",
     nullptr,
     {GameSearchPath::Archives::SortedPk3, false, Qt::CaseInsensitive, {QStringLiteral("baseq3")}}},
};

const Rule &ruleFor(Engine engine)
{
    for (const Rule &rule : kRules) {
        if (rule.engine == engine)
            return rule;
    }
    Q_UNREACHABLE();
}

const Rule &ruleOf(Kind kind)
{
    for (const Rule &rule : kRules) {
        if (rule.kind == kind)
            return rule;
    }
    Q_UNREACHABLE();
}

GameDataResult<QByteArray> readWhole(ByteSource &bytes, const QString &where)
{
    if (bytes.size() > kMaxFontBytes)
        return GameDataError{
            GameDataError::Unsupported,
            QStringLiteral("is %1 bytes, more than a font picture takes").arg(bytes.size())}
            .in(where);
    auto whole = bytes.read(0, bytes.size());
    if (!whole.ok())
        return whole.error.in(where);
    return whole;
}

struct Palette
{
    QByteArray colours;
    QString where;
};

// Quake's and Hexen II's palette.lmp: 768 bytes, red, green, blue per index.
GameDataResult<Palette> findPalette(GameSearchPath &path, const char *name)
{
    auto located = path.find(name, kMaxFontBytes);
    if (!located.ok())
        return located.error;
    if (located.value.bytes->size() < kPaletteBytes)
        return GameDataError{GameDataError::Damaged, QStringLiteral("is %1 bytes, not %2")
                                                         .arg(located.value.bytes->size())
                                                         .arg(kPaletteBytes)}
            .in(located.value.where);
    // Quake II's colormap.pcx carries the palette in its last 768 bytes.
    const bool atEnd = QByteArray(name).endsWith(".pcx");
    const qint64 from = atEnd ? located.value.bytes->size() - kPaletteBytes : 0;
    auto colours = located.value.bytes->read(from, kPaletteBytes);
    if (!colours.ok())
        return colours.error.in(located.value.where);
    return Palette{colours.value, located.value.where};
}

Result finish(GameDataResult<QImage> grid, const QString &where, const QString &paletteWhere = {})
{
    if (!grid.ok())
        return grid.error.in(where);
    QString source = where;
    if (!paletteWhere.isEmpty())
        source += QStringLiteral("; colours from ") + paletteWhere;
    return Font{grid.value, source};
}

// The glyphs of an indexed font in colours from `palettes`.
Result indexedFont(const QByteArray &indices, int width, int height, Kind kind,
                   const QString &where, GameSearchPath &palettes)
{
    auto palette = findPalette(palettes, ruleOf(kind).palette);
    if (!palette.ok())
        return palette.error;
    const bool hexen = kind == Kind::HexenLmp;
    // Colour 0 is transparent in the software renderers; the GL renderers players
    // run today make 255 transparent too (Quake gl_draw.c and uHexen2 gl_draw.c,
    // Draw_Init).
    return finish(FontGrid::fromIndexed(indices, width, height, palette.value.colours, {0, 255},
                                        hexen ? 32 : 16),
                  where, palette.value.where);
}

Result quakeWad(ByteSource &wad, const QString &where, GameSearchPath &palettes)
{
    auto conchars = WadFile::readLump(wad, "conchars", kQuakeBytes);
    if (!conchars.ok())
        return conchars.error.in(where);
    return indexedFont(conchars.value, kQuakeSide, kQuakeSide, Kind::QuakeWad,
                       where + QStringLiteral(": conchars"), palettes);
}

Result hexenLmp(ByteSource &lmp, const QString &where, GameSearchPath &palettes)
{
    // Hexen II refuses any other size ("bad size").
    if (lmp.size() != kHexenBytes)
        return GameDataError{GameDataError::Unsupported,
                             QStringLiteral("is %1 bytes, not the %2 of a 256 x 128 font")
                                 .arg(lmp.size())
                                 .arg(kHexenBytes)}
            .in(where);
    auto indices = lmp.read(0, kHexenBytes);
    if (!indices.ok())
        return indices.error.in(where);
    return indexedFont(indices.value, kHexenWidth, kHexenHeight, Kind::HexenLmp, where, palettes);
}

// `palettes` null: the picture's own palette.
Result quake2Pcx(ByteSource &pcx, const QString &where, GameSearchPath *palettes)
{
    auto file = readWhole(pcx, where);
    if (!file.ok())
        return file.error;
    auto picture = PcxReader::read(file.value);
    if (!picture.ok())
        return picture.error.in(where);
    QByteArray colours = picture.value.palette;
    QString paletteWhere;
    if (palettes) {
        auto palette = findPalette(*palettes, ruleOf(Kind::Quake2Pcx).palette);
        if (palette.ok()) {
            colours = palette.value.colours;
            paletteWhere = palette.value.where;
        } else if (palette.error.kind != GameDataError::NotFound) {
            return palette.error;
        }
    }
    return finish(FontGrid::fromIndexed(picture.value.indices, picture.value.width,
                                        picture.value.height, colours, {255}),
                  where, paletteWhere);
}

Result quake3Picture(ByteSource &bytes, const QString &where)
{
    auto file = readWhole(bytes, where);
    if (!file.ok())
        return file.error;
    if (!where.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
        auto picture = TgaReader::read(file.value);
        if (!picture.ok())
            return picture.error.in(where);
        return finish(FontGrid::fromPicture(picture.value), where);
    }
    QBuffer buffer(&file.value);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (size.width() > FontGrid::kMaxSide || size.height() > FontGrid::kMaxSide)
        return GameDataError{
            GameDataError::Unsupported,
            QStringLiteral("is %1 x %2 pixels").arg(size.width()).arg(size.height())}
            .in(where);
    const QImage image = reader.read();
    if (image.isNull())
        return GameDataError{GameDataError::Damaged, reader.errorString()}.in(where);
    return finish(FontGrid::fromPicture(image), where);
}

Result decode(Kind kind, const GameSearchPath::Located &font, GameSearchPath &palettes)
{
    switch (kind) {
    case Kind::QuakeWad:
        return quakeWad(*font.bytes, font.where, palettes);
    case Kind::HexenLmp:
        return hexenLmp(*font.bytes, font.where, palettes);
    case Kind::Quake2Pcx:
        return quake2Pcx(*font.bytes, font.where, &palettes);
    case Kind::Quake3Tga:
        return quake3Picture(*font.bytes, font.where);
    }
    Q_UNREACHABLE();
}

// The font of `rule` from `path`; nothing if no place holds it.
std::optional<Result> search(const Rule &rule, GameSearchPath &path, GameSearchPath &palettes)
{
    QList<QByteArray> names{rule.font};
    if (rule.fallbackFont)
        names.append(rule.fallbackFont);
    if (rule.palette && &palettes == &path)
        names.append(rule.palette);
    path.lookFor(names);
    auto font = path.find(rule.font, kMaxFontBytes);
    if (!font.ok() && font.error.kind == GameDataError::NotFound && rule.fallbackFont)
        font = path.find(rule.fallbackFont, kMaxFontBytes);
    if (!font.ok() && font.error.kind == GameDataError::NotFound)
        return std::nullopt;
    if (!font.ok())
        return Result(font.error);
    return decode(rule.kind, font.value, palettes);
}

// The game folders a loose file may lie in, nearest first: its own folder
// (a wad in id1), and up to two above (data1/gfx/menu/conchars.lmp).
GameSearchPath foldersAround(const QString &file, const Rule &rule)
{
    GameSearchPath path;
    QString folder = QFileInfo(file).absolutePath();
    for (int up = 0; up < 3; ++up) {
        path.append(GameSearchPath::forFolder(rule.search, folder));
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return path;
}

Result fromArchive(const QString &path, Engine engine)
{
    QList<const Rule *> order{&ruleFor(engine)};
    for (const Rule &rule : kRules) {
        if (!order.contains(&rule))
            order.append(&rule);
    }
    // A Quake pak chosen for Hexen II is still read, and the other way round;
    // the first font found but unreadable says why when none can be read.
    std::optional<Result> firstFailure;
    QStringList names;
    for (const Rule *rule : order) {
        GameSearchPath archive = GameSearchPath::forArchive(path, rule->search.pakNames);
        GameSearchPath palettes = GameSearchPath::forArchive(path, rule->search.pakNames);
        palettes.append(GameSearchPath::forFolder(rule->search, QFileInfo(path).absolutePath()));
        auto font = search(*rule, archive, palettes);
        if (font && font->ok())
            return *font;
        if (font && !firstFailure)
            firstFailure = font;
        names.append(QString::fromLatin1(rule->font));
    }
    if (firstFailure)
        return *firstFailure;
    const QString last = names.takeLast();
    return GameDataError{
        GameDataError::NotFound,
        QStringLiteral("No %1 or %2 in %3").arg(names.join(QStringLiteral(", ")), last, path)};
}

// Why no font was found in `path`: a damaged archive or a pipe passed over is
// what is wrong, rather than that the font is missing.
GameDataError notFound(const Rule &rule, const GameSearchPath &path)
{
    const QList<GameDataError> &passed = path.passedOver();
    return {passed.isEmpty() ? GameDataError::NotFound : passed.first().kind,
            path.missing(rule.font)};
}

} // namespace

Result fromFile(const QString &path, Engine engine)
{
    auto file = FileSource::open(path);
    if (!file.ok())
        return file.error;
    ByteSource &bytes = *file.value;
    const QByteArray head = bytes.read(0, std::min<qint64>(4, bytes.size())).value;
    const QString suffix = QFileInfo(path).suffix().toLower();

    if (head == "PACK" || head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06") ||
        suffix == QLatin1String("pak") || suffix == QLatin1String("pk3") ||
        suffix == QLatin1String("zip"))
        return fromArchive(path, engine);

    if (head == "WAD2" || suffix == QLatin1String("wad")) {
        GameSearchPath palettes = foldersAround(path, ruleOf(Kind::QuakeWad));
        return quakeWad(bytes, path, palettes);
    }
    if (suffix == QLatin1String("lmp")) {
        if (bytes.size() == kPaletteBytes)
            return GameDataError{GameDataError::Unsupported,
                                 QStringLiteral("%1 is a palette, not a font").arg(path)};
        if (bytes.size() == kHexenBytes) {
            GameSearchPath palettes = foldersAround(path, ruleOf(Kind::HexenLmp));
            return hexenLmp(bytes, path, palettes);
        }
        // Quake's conchars as a bare lump, or with a picture header stating 128 x 128.
        const qint64 header = bytes.size() - kQuakeBytes;
        const QByteArray sides = QByteArray::fromHex("8000000080000000");
        const bool quake = header == 0 || (header == 8 && bytes.read(0, 8).value == sides);
        if (!quake)
            return GameDataError{GameDataError::Unsupported,
                                 QStringLiteral("%1 is %2 bytes: not a Quake or Hexen II font")
                                     .arg(path)
                                     .arg(bytes.size())};
        auto indices = bytes.read(header, kQuakeBytes);
        if (!indices.ok())
            return indices.error.in(path);
        GameSearchPath palettes = foldersAround(path, ruleOf(Kind::QuakeWad));
        return indexedFont(indices.value, kQuakeSide, kQuakeSide, Kind::QuakeWad, path, palettes);
    }
    if (suffix == QLatin1String("pcx"))
        return quake2Pcx(bytes, path, nullptr);
    if (suffix == QLatin1String("tga"))
        return quake3Picture(bytes, path);
    return GameDataError{
        GameDataError::Unsupported,
        QStringLiteral("%1 is not a pak, pk3, wad, lmp, pcx or tga file").arg(path)};
}

Result fromGameFolder(Engine engine, const QString &folder)
{
    if (folder.isEmpty())
        return GameDataError{GameDataError::NotFound, QStringLiteral("No game folder is set")};
    if (!QFileInfo(folder).isDir())
        return GameDataError{GameDataError::NotFound,
                             QStringLiteral("The folder %1 does not exist").arg(folder)};
    return fromGameFolders(engine, {folder});
}

Result fromGameFolders(Engine engine, const QStringList &folders)
{
    const Rule &rule = ruleFor(engine);
    QStringList present;
    for (const QString &folder : folders) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            present.append(folder);
    }
    if (present.isEmpty()) {
        if (folders.isEmpty())
            return GameDataError{GameDataError::NotFound, QStringLiteral("No game folder is set")};
        return GameDataError{GameDataError::NotFound,
                             QStringLiteral("None of the game folders %1 exists")
                                 .arg(folders.join(QStringLiteral(", ")))};
    }
    GameSearchPath path = GameSearchPath::forFolders(rule.search, present);
    if (auto font = search(rule, path, path))
        return *font;
    return notFound(rule, path);
}

QImage tint(const QImage &whiteFont, int index)
{
    if (index < 0 || index > 7 || whiteFont.isNull())
        return {};
    // Quake III's colour table (q_math.c g_color_table): each channel full or none.
    static constexpr QRgb kKeep[8] = {0x000000, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    const QRgb keep = kKeep[index];
    QImage tinted = whiteFont.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < tinted.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(tinted.scanLine(y));
        for (int x = 0; x < tinted.width(); ++x)
            line[x] = (line[x] & keep) | 0xFF000000u;
    }
    return tinted;
}

} // namespace GameFont
