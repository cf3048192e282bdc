#include "pictures.h"

#include "arenafont.h"
#include "consolefont.h"
#include "hexenfont.h"
#include "pixelglyphs.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

using Pictures::kCell;
using Pictures::kSize;
using PixelGlyphs::Symbol;

// Palette indices of one colour: a glyph is `light` in its upper rows, `base`
// in the middle and `shade` at the bottom; `edge` is the drop shadow (Quake
// family) or the outline (Quake III).
struct Tones
{
    int light;
    int base;
    int shade;
    int edge;
};

struct Colours
{
    QRgb light;
    QRgb base;
    QRgb shade;
    QRgb edge;
};

class Canvas
{
public:
    Canvas() : m_pixels(kSize * kSize, 0) { m_colours.append(qRgb(0, 0, 0)); }

    Tones add(const Colours &c) { return {add(c.light), add(c.base), add(c.shade), add(c.edge)}; }
    int add(QRgb colour)
    {
        const int i = static_cast<int>(m_colours.indexOf(colour));
        if (i >= 0)
            return i;
        m_colours.append(colour);
        return static_cast<int>(m_colours.size()) - 1;
    }

    void set(int x, int y, int index)
    {
        Q_ASSERT(x >= 0 && y >= 0 && x < kSize && y < kSize);
        m_pixels[y * kSize + x] = static_cast<uchar>(index);
    }

    QImage image() const
    {
        QImage out(kSize, kSize, QImage::Format_Indexed8);
        out.setColorTable(m_colours);
        for (int y = 0; y < kSize; ++y)
            std::copy_n(m_pixels.begin() + y * kSize, kSize, out.scanLine(y));
        return out;
    }

private:
    std::vector<uchar> m_pixels;
    QList<QRgb> m_colours;
};

int cellX(int cell)
{
    return (cell % 16) * kCell;
}
int cellY(int cell)
{
    return (cell / 16) * kCell;
}

// A shape is what a cell covers: a cell-sized bitmap (three cells for the bar).

// `glyph` centred across a cell, its top row at row `top`.
Bitmap inCell(const Bitmap &glyph, int top)
{
    Bitmap out(kCell, kCell);
    out.paint(glyph, (kCell - glyph.width()) / 2, top);
    return out;
}

// Bold glyphs (Quake family, Quake III): a 2 x 2 brush, except where a pixel
// design of its own replaces it.
constexpr int kBoldTop = 1;

Bitmap boldGlyph(const GlyphSet &skeletons, int code)
{
    const GlyphSet &own = PixelGlyphs::boldOverrides();
    if (auto it = own.find(code); it != own.end())
        return inCell(it->second, kBoldTop);
    return inCell(skeletons.at(code).dilated(2, 2), kBoldTop);
}

Bitmap symbol(Symbol s)
{
    return inCell(PixelGlyphs::symbols().at(s), kBoldTop);
}

// Plain glyphs (generic, JumpGate): vertical strokes two pixels wide, horizontal
// ones one; a lone pixel (a dot) becomes 2 x 2 so it does not vanish.
Bitmap plainBrush(const Bitmap &skeleton)
{
    Bitmap out = skeleton.dilated(2, 1);
    for (int y = 0; y < skeleton.height(); ++y)
        for (int x = 0; x < skeleton.width(); ++x) {
            if (!skeleton.at(x, y))
                continue;
            bool alone = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && skeleton.at(x + dx, y + dy))
                        alone = false;
            if (alone) {
                out.set(x, y + 1);
                out.set(x + 1, y + 1);
            }
        }
    return out;
}

// The bar of cells 29..31: one rounded bar across three cells, cut into a left
// end, a middle piece that tiles with itself, and a right end.
Bitmap barStrip()
{
    Bitmap strip(3 * kCell, kCell);
    const int rows[][2] = {{5, 5}, {6, 4}, {7, 3}, {8, 3}, {9, 4}, {10, 5}}; // row, inset
    for (const auto &[y, inset] : rows)
        for (int x = inset; x < 3 * kCell - inset; ++x)
            strip.set(x, y);
    return strip;
}

int rowTone(const Tones &t, int row)
{
    if (row <= 5)
        return t.light;
    if (row <= 9)
        return t.base;
    return t.shade;
}

// Quake family: the glyph with a one-pixel drop shadow down and to the right.
void paintBold(Canvas &c, int x0, int y0, const Bitmap &shape, const Tones &t)
{
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            if (shape.at(x, y))
                c.set(x0 + x, y0 + y, rowTone(t, y));
            else if (shape.at(x - 1, y - 1))
                c.set(x0 + x, y0 + y, t.edge);
        }
}

// Hexen II: as paintBold, and the right-hand pixel of a stroke two or more
// pixels wide one tone darker, so stems look rounded like cut stone.
void paintCarved(Canvas &c, int x0, int y0, const Bitmap &shape, const Tones &t)
{
    paintBold(c, x0, y0, shape, t);
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            if (!shape.at(x, y) || shape.at(x + 1, y) || !shape.at(x - 1, y))
                continue;
            const int tone = rowTone(t, y);
            c.set(x0 + x, y0 + y, tone == t.light ? t.base : t.shade);
        }
}

// Quake III: the glyph ringed by a one-pixel outline.
void paintOutlined(Canvas &c, int x0, int y0, const Bitmap &shape, const Tones &t)
{
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            if (shape.at(x, y)) {
                c.set(x0 + x, y0 + y, rowTone(t, y));
                continue;
            }
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (shape.at(x + dx, y + dy)) {
                        c.set(x0 + x, y0 + y, t.edge);
                        dx = dy = 2;
                    }
        }
}

void paintFlat(Canvas &c, int cell, const Bitmap &shape, int index)
{
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (shape.at(x, y))
                c.set(cellX(cell) + x, cellY(cell) + y, index);
}

using Painter = void (*)(Canvas &, int, int, const Bitmap &, const Tones &);

void paintCell(Canvas &c, Painter paint, int cell, const Bitmap &shape, const Tones &t)
{
    paint(c, cellX(cell), cellY(cell), shape, t);
}

// The bar across `firstCell` and the two cells after it (one row of the grid).
void paintBar(Canvas &c, Painter paint, int firstCell, const Tones &t)
{
    Q_ASSERT(firstCell % 16 <= 13);
    paint(c, cellX(firstCell), cellY(firstCell), barStrip(), t);
}

const Colours kGold{qRgb(255, 224, 120), qRgb(236, 176, 40), qRgb(172, 114, 16), qRgb(52, 34, 6)};

// The shape of character `code` (32..126) in a Quake-engine font.
using LetterShape = Bitmap (*)(int code);

// Quake and Quake II: the console skeletons under the bold brush.
Bitmap consoleLetter(int code)
{
    return boldGlyph(ConsoleFont::glyphs(), code);
}

// Hexen II: letters of its own, drawn to their final pixels; the space is blank.
Bitmap hexenLetter(int code)
{
    const GlyphSet &font = HexenFont::glyphs();
    if (auto it = font.find(code); it != font.end()) {
        Q_ASSERT(it->second.width() < kCell); // room for the shadow column
        return inCell(it->second, kBoldTop);
    }
    return Bitmap(kCell, kCell);
}

// One Quake-engine picture: the colours of the plain set (cells 0..127), the
// second set (128..255) and the bracketed gold digits (16..27, 144..155), the
// letters and how they are painted.
struct QuakeStyle
{
    Colours primary;
    Colours second;
    Colours gold;
    LetterShape letter;
    Painter paint;
};

// The low codes of the Quake-engine fonts. Cells that the name table turns into
// another code look like that code's cell: 0 like 5, 13 like 14 (all dots).
std::optional<Bitmap> quakeLowShape(int cell, LetterShape letter)
{
    static const std::array<Symbol, 16> low = {
        Symbol::Dot,          Symbol::Diamond,       Symbol::Box,        Symbol::Square,
        Symbol::Ring,         Symbol::Dot,           Symbol::TriangleUp, Symbol::TriangleDown,
        Symbol::TriangleLeft, Symbol::HollowDiamond, Symbol::Cross,      Symbol::Star,
        Symbol::Heart,        Symbol::Dot,           Symbol::Dot,        Symbol::Dot,
    };
    if (cell < 16)
        return symbol(low[cell]);
    if (cell == 28)
        return symbol(Symbol::Dot);
    if (cell == 127)
        return symbol(Symbol::ArrowRight);
    if (cell >= 32 && cell < 127)
        return letter(cell);
    return std::nullopt; // 16..27 gold, 29..31 the bar
}

QImage quakeFamily(const QuakeStyle &style)
{
    Canvas c;
    const Tones primary = c.add(style.primary);
    const Tones second = c.add(style.second);
    const Tones gold = c.add(style.gold);
    const Painter paint = style.paint;

    for (int cell = 0; cell < 128; ++cell) {
        if (auto shape = quakeLowShape(cell, style.letter)) {
            paintCell(c, paint, cell, *shape, primary);
            // 128..130 hold the bar again; 255 stays blank, like 160.
            if (cell > 2 && cell != 127)
                paintCell(c, paint, cell + 128, *shape, second);
        }
    }
    for (int half : {0, 128}) {
        paintCell(c, paint, half + 16, style.letter('['), gold);
        paintCell(c, paint, half + 17, style.letter(']'), gold);
        for (int d = 0; d < 10; ++d)
            paintCell(c, paint, half + 18 + d, style.letter('0' + d), gold);
    }
    paintBar(c, paint, 29, primary);
    paintBar(c, paint, 128, primary);
    paintBar(c, paint, 157, second);
    return c.image();
}

constexpr int kPlainTop = 3; // capitals on rows 3..12, accents above them

Bitmap dotlessI()
{
    Bitmap i = ConsoleFont::glyphs().at('i');
    for (int y = 0; y < ConsoleFont::kXHeightTop; ++y)
        for (int x = 0; x < i.width(); ++x)
            i.set(x, y, false);
    return i;
}

// `skeleton` one row shorter at the top: the first inked row that repeats the
// row below it goes, and the rows above it move down one.
Bitmap withoutRepeatedRow(const Bitmap &skeleton)
{
    auto rowsEqual = [&](int a, int b) {
        for (int x = 0; x < skeleton.width(); ++x)
            if (skeleton.at(x, a) != skeleton.at(x, b))
                return false;
        return true;
    };
    auto rowInked = [&](int y) {
        for (int x = 0; x < skeleton.width(); ++x)
            if (skeleton.at(x, y))
                return true;
        return false;
    };
    int drop = -1;
    for (int y = 0; y + 1 < skeleton.height() && drop < 0; ++y)
        if (rowInked(y) && rowsEqual(y, y + 1))
            drop = y;
    Q_ASSERT(drop >= 0);
    Bitmap out(skeleton.width(), skeleton.height());
    for (int y = 0; y < skeleton.height(); ++y)
        for (int x = 0; x < skeleton.width(); ++x)
            if (y != drop && skeleton.at(x, y))
                out.set(x, y < drop ? y + 1 : y);
    return out;
}

struct Composed
{
    int code;
    int base; // 'i' stands for the dotless i
    PixelGlyphs::Accent accent;
};

// clang-format off
constexpr Composed kComposed[] = {
    {0x8A, 'S', PixelGlyphs::Caron}, {0x8E, 'Z', PixelGlyphs::Caron},
    {0x9A, 's', PixelGlyphs::Caron}, {0x9E, 'z', PixelGlyphs::Caron},
    {0x9F, 'Y', PixelGlyphs::Diaeresis},
    {0xC0, 'A', PixelGlyphs::Grave}, {0xC1, 'A', PixelGlyphs::Acute}, {0xC2, 'A', PixelGlyphs::Circumflex},
    {0xC3, 'A', PixelGlyphs::Tilde}, {0xC4, 'A', PixelGlyphs::Diaeresis}, {0xC5, 'A', PixelGlyphs::RingAbove},
    {0xC7, 'C', PixelGlyphs::Cedilla},
    {0xC8, 'E', PixelGlyphs::Grave}, {0xC9, 'E', PixelGlyphs::Acute}, {0xCA, 'E', PixelGlyphs::Circumflex},
    {0xCB, 'E', PixelGlyphs::Diaeresis},
    {0xCC, 'I', PixelGlyphs::Grave}, {0xCD, 'I', PixelGlyphs::Acute}, {0xCE, 'I', PixelGlyphs::Circumflex},
    {0xCF, 'I', PixelGlyphs::Diaeresis},
    {0xD1, 'N', PixelGlyphs::Tilde},
    {0xD2, 'O', PixelGlyphs::Grave}, {0xD3, 'O', PixelGlyphs::Acute}, {0xD4, 'O', PixelGlyphs::Circumflex},
    {0xD5, 'O', PixelGlyphs::Tilde}, {0xD6, 'O', PixelGlyphs::Diaeresis},
    {0xD9, 'U', PixelGlyphs::Grave}, {0xDA, 'U', PixelGlyphs::Acute}, {0xDB, 'U', PixelGlyphs::Circumflex},
    {0xDC, 'U', PixelGlyphs::Diaeresis},
    {0xDD, 'Y', PixelGlyphs::Acute},
    {0xE0, 'a', PixelGlyphs::Grave}, {0xE1, 'a', PixelGlyphs::Acute}, {0xE2, 'a', PixelGlyphs::Circumflex},
    {0xE3, 'a', PixelGlyphs::Tilde}, {0xE4, 'a', PixelGlyphs::Diaeresis}, {0xE5, 'a', PixelGlyphs::RingAbove},
    {0xE7, 'c', PixelGlyphs::Cedilla},
    {0xE8, 'e', PixelGlyphs::Grave}, {0xE9, 'e', PixelGlyphs::Acute}, {0xEA, 'e', PixelGlyphs::Circumflex},
    {0xEB, 'e', PixelGlyphs::Diaeresis},
    {0xEC, 'i', PixelGlyphs::Grave}, {0xED, 'i', PixelGlyphs::Acute}, {0xEE, 'i', PixelGlyphs::Circumflex},
    {0xEF, 'i', PixelGlyphs::Diaeresis},
    {0xF1, 'n', PixelGlyphs::Tilde},
    {0xF2, 'o', PixelGlyphs::Grave}, {0xF3, 'o', PixelGlyphs::Acute}, {0xF4, 'o', PixelGlyphs::Circumflex},
    {0xF5, 'o', PixelGlyphs::Tilde}, {0xF6, 'o', PixelGlyphs::Diaeresis},
    {0xF9, 'u', PixelGlyphs::Grave}, {0xFA, 'u', PixelGlyphs::Acute}, {0xFB, 'u', PixelGlyphs::Circumflex},
    {0xFC, 'u', PixelGlyphs::Diaeresis},
    {0xFD, 'y', PixelGlyphs::Acute}, {0xFF, 'y', PixelGlyphs::Diaeresis},
};

// Spacing accents, standing alone on the cap height (the cedilla below the baseline).
constexpr std::pair<int, PixelGlyphs::Accent> kSpacingAccents[] = {
    {0x88, PixelGlyphs::Circumflex}, {0x98, PixelGlyphs::Tilde}, {0xA8, PixelGlyphs::Diaeresis},
    {0xAF, PixelGlyphs::Macron},     {0xB4, PixelGlyphs::Acute}, {0xB8, PixelGlyphs::Cedilla},
};

// The control codes 1..31 as their usual short names.
constexpr const char *kControlNames[] = {
    "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",  "VT",
    "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN",
    "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
};
// clang-format on

struct InkRows
{
    int top;
    int bottom;
};

InkRows inkRows(const Bitmap &b)
{
    InkRows r{b.height(), -1};
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.at(x, y)) {
                r.top = std::min(r.top, y);
                r.bottom = std::max(r.bottom, y);
            }
    return r;
}

// `accent` centred over the ink of `shape` (a cell), its ink ending two rows
// above row `aboveRow` (one blank row between), or, for the cedilla, starting
// on row `belowRow`.
void addAccent(Bitmap &shape, PixelGlyphs::Accent accent, int aboveRow, int belowRow)
{
    const Bitmap &a = PixelGlyphs::accents().at(accent);
    const InkRows rows = inkRows(a);
    const Bitmap::Span baseInk = shape.inkColumns();
    const Bitmap::Span accentInk = a.inkColumns();
    const int x = (baseInk.left + baseInk.right - accentInk.left - accentInk.right) / 2;
    const int y = accent == PixelGlyphs::Cedilla ? belowRow - rows.top : aboveRow - 2 - rows.bottom;
    shape.paint(a, x, y);
}

Bitmap plainGlyph(const Bitmap &skeleton, int top)
{
    return inCell(plainBrush(skeleton), top);
}

// The shape of Windows-1252 code `code` in the generic font; empty for the
// blank ones (space, no-break space, the five undefined codes).
Bitmap windows1252Shape(int code)
{
    const GlyphSet &font = ConsoleFont::glyphs();
    const int capTop = kPlainTop;
    const int xTop = kPlainTop + ConsoleFont::kXHeightTop;
    const int below = kPlainTop + ConsoleFont::kBaseline + 1;

    if (code >= 1 && code <= 31) {
        const char *name = kControlNames[code - 1];
        const int letters = static_cast<int>(std::char_traits<char>::length(name));
        const int width = letters * 4 - 1;
        Bitmap out(kCell, kCell);
        for (int i = 0; i < letters; ++i)
            out.paint(PixelGlyphs::miniLetters().at(name[i]), (kCell - width) / 2 + i * 4, 6);
        return out;
    }
    if (auto it = font.find(code); it != font.end())
        return plainGlyph(it->second, kPlainTop);
    for (const Composed &c : kComposed) {
        if (c.code != code)
            continue;
        const bool capital = c.base >= 'A' && c.base <= 'Z';
        Bitmap base = c.base == 'i' ? dotlessI() : font.at(c.base);
        int inkTop = capital ? capTop : xTop;
        // A ring is taller than the room above a capital: the capital gives
        // up one row so the ring does not run into it.
        if (capital && c.accent == PixelGlyphs::RingAbove) {
            base = withoutRepeatedRow(base);
            ++inkTop;
        }
        Bitmap shape = plainGlyph(base, kPlainTop);
        addAccent(shape, c.accent, inkTop, below);
        return shape;
    }
    for (const auto &[spacing, accent] : kSpacingAccents) {
        if (spacing != code)
            continue;
        // Alone, an accent stands on the cap height; the cedilla hangs below
        // the baseline.
        const Bitmap &a = PixelGlyphs::accents().at(accent);
        const Bitmap::Span ink = a.inkColumns();
        const InkRows rows = inkRows(a);
        Bitmap shape(kCell, kCell);
        shape.paint(a, (kCell - (ink.right - ink.left + 1)) / 2 - ink.left,
                    accent == PixelGlyphs::Cedilla ? below - rows.top : capTop - rows.top);
        return shape;
    }
    return Bitmap(kCell, kCell);
}

QImage genericFont()
{
    Canvas c;
    const int ink = c.add(qRgb(232, 232, 232));
    for (int cell = 0; cell < 255; ++cell)
        paintFlat(c, cell, windows1252Shape(cell + 1), ink);
    return c.image();
}

QImage jumpGateFont()
{
    Canvas c;
    const int ink = c.add(qRgb(150, 228, 255));
    for (int cell = 33; cell < 127; ++cell)
        paintFlat(c, cell, plainGlyph(ConsoleFont::glyphs().at(cell), 2), ink);
    return c.image();
}

// Cells the Quake III name table turns into a blank: drawn blank.
constexpr int kArenaBlank[] = {0, 5, 9, 10, 12, 13, 22, 27, 132, 137, 138, 140, 155, 160, 255};

std::optional<Bitmap> arenaLowShape(int cell)
{
    using S = Symbol;
    static const std::array<std::optional<S>, 32> low = {
        std::nullopt,    S::Diamond,       S::Box,        S::Square,        // 0..3
        S::Square,       std::nullopt,     S::TriangleUp, S::TriangleDown,  // 4 yields 3, as 3 does
        S::TriangleLeft, std::nullopt,     std::nullopt,  S::Star,          // 8..11
        std::nullopt,    std::nullopt,     S::Dot,        S::Ring,          // 12..15
        S::ArrowLeft,    S::ArrowRight,    S::ArrowUp,    S::ArrowDown,     // 16..19
        S::Heart,        S::Disc,          std::nullopt,  S::HollowDiamond, // 20..23
        S::Cross,        S::TriangleRight, S::Plus,       std::nullopt,     // 24..27
        S::Dot,          std::nullopt,     std::nullopt,  std::nullopt,     // 28, bar
    };
    if (cell < 32) {
        if (low[cell])
            return symbol(*low[cell]);
        return std::nullopt;
    }
    if (cell == 127)
        return symbol(S::ArrowRight);
    return boldGlyph(ArenaFont::glyphs(), cell);
}

QImage arenaFont(const Colours &colours)
{
    Canvas c;
    const Tones t = c.add(colours);
    for (int cell = 0; cell < 128; ++cell) {
        if (auto shape = arenaLowShape(cell)) {
            for (int at : {cell, cell + 128})
                if (std::find(std::begin(kArenaBlank), std::end(kArenaBlank), at) ==
                    std::end(kArenaBlank))
                    paintCell(c, paintOutlined, at, *shape, t);
        }
    }
    paintBar(c, paintOutlined, 29, t);
    paintBar(c, paintOutlined, 157, t);
    return c.image();
}

} // namespace

QImage Pictures::cell(const QImage &picture, int index)
{
    return picture.copy(cellX(index), cellY(index), kCell, kCell);
}

bool Pictures::isBlank(const QImage &picture, int index)
{
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (picture.pixelIndex(cellX(index) + x, cellY(index) + y) != 0)
                return false;
    return true;
}

QStringList Pictures::layoutProblems(const FontPictureSpec &picture)
{
    QStringList problems;
    const QImage &image = picture.image;
    if (image.size() != QSize(kSize, kSize) || image.format() != QImage::Format_Indexed8)
        return {picture.path + QStringLiteral(": not a 256 x 256 indexed picture")};
    if (image.colorTable().value(0) != qRgb(0, 0, 0))
        problems << picture.path + QStringLiteral(": colour 0 is not black");
    if (image.colorTable().size() > 16)
        problems << picture.path + QStringLiteral(": more than 16 colours");
    auto sameCells = [&](int a, int b) {
        if (cell(image, a) != cell(image, b))
            problems << picture.path + QStringLiteral(": cells %1 and %2 differ").arg(a).arg(b);
    };
    auto blankCell = [&](int a) {
        if (!isBlank(image, a))
            problems << picture.path + QStringLiteral(": cell %1 is not blank").arg(a);
    };
    auto inkedCell = [&](int a) {
        if (isBlank(image, a))
            problems << picture.path + QStringLiteral(": cell %1 is blank").arg(a);
    };
    switch (picture.layout) {
    case FontPictureSpec::Layout::QuakeFamily:
        sameCells(0, 5);
        sameCells(13, 14);
        sameCells(255, 160);
        blankCell(160);
        blankCell(32);
        for (int i = 33; i < 127; ++i) {
            inkedCell(i);
            inkedCell(i + 128);
        }
        break;
    case FontPictureSpec::Layout::Ascii:
        blankCell(255);
        blankCell(31); // code 32, the space
        for (int i = 32; i < 126; ++i)
            inkedCell(i); // codes 33..126
        break;
    case FontPictureSpec::Layout::PlainAscii: // JumpGate also goes by the Quake-engine table
        sameCells(0, 5);
        sameCells(13, 14);
        sameCells(255, 160);
        blankCell(32);
        for (int i = 33; i < 127; ++i)
            inkedCell(i);
        break;
    case FontPictureSpec::Layout::Quake3:
        for (int blank : kArenaBlank)
            blankCell(blank);
        for (int i = 33; i < 127; ++i)
            inkedCell(i);
        break;
    }
    return problems;
}

QList<FontPictureSpec> Pictures::buildAll()
{
    using Layout = FontPictureSpec::Layout;
    QList<FontPictureSpec> out;

    // Quake: warm beige-grey and a brownish red. Quake II: light grey and green.
    // Hexen II: warm sandstone and antique gold, its digits a brighter gold.
    const QuakeStyle quake{
        {qRgb(240, 228, 204), qRgb(200, 184, 156), qRgb(150, 132, 106), qRgb(44, 36, 26)},
        {qRgb(212, 118, 84), qRgb(170, 76, 46), qRgb(120, 48, 26), qRgb(42, 16, 8)},
        kGold,
        consoleLetter,
        paintBold};
    const QuakeStyle quake2{
        {qRgb(240, 240, 240), qRgb(200, 200, 200), qRgb(148, 148, 148), qRgb(40, 40, 40)},
        {qRgb(150, 236, 120), qRgb(80, 192, 60), qRgb(44, 134, 34), qRgb(12, 42, 10)},
        kGold,
        consoleLetter,
        paintBold};
    const QuakeStyle hexen2{
        {qRgb(236, 222, 194), qRgb(200, 180, 144), qRgb(152, 130, 98), qRgb(40, 30, 20)},
        {qRgb(230, 184, 104), qRgb(190, 138, 60), qRgb(138, 94, 34), qRgb(44, 28, 10)},
        {qRgb(255, 232, 140), qRgb(244, 196, 64), qRgb(188, 136, 28), qRgb(56, 38, 8)},
        hexenLetter,
        paintCarved};
    out.append({QStringLiteral("qw/quakeworld.gif"), Layout::QuakeFamily, quakeFamily(quake)});
    out.append({QStringLiteral("q2/quake2.gif"), Layout::QuakeFamily, quakeFamily(quake2)});
    out.append({QStringLiteral("hex/hexen.gif"), Layout::QuakeFamily, quakeFamily(hexen2)});
    out.append({QStringLiteral("generic/ascii.gif"), Layout::Ascii, genericFont()});
    out.append({QStringLiteral("jumpgate/jumpgate.gif"), Layout::PlainAscii, jumpGateFont()});

    // The eight Quake III colour codes. Black keeps its glyphs readable with a
    // light outline around nearly black strokes.
    const struct
    {
        const char *name;
        Colours colours;
    } arena[] = {
        {"white",
         {qRgb(255, 255, 255), qRgb(228, 228, 228), qRgb(184, 184, 184), qRgb(72, 72, 72)}},
        {"red", {qRgb(255, 136, 136), qRgb(232, 36, 36), qRgb(172, 12, 12), qRgb(72, 0, 0)}},
        {"black", {qRgb(44, 44, 44), qRgb(22, 22, 22), qRgb(8, 8, 8), qRgb(176, 176, 176)}},
        {"magenta", {qRgb(255, 150, 255), qRgb(226, 44, 226), qRgb(166, 20, 166), qRgb(70, 0, 70)}},
        {"green", {qRgb(156, 255, 156), qRgb(44, 222, 44), qRgb(20, 160, 20), qRgb(0, 64, 0)}},
        {"yellow", {qRgb(255, 255, 164), qRgb(242, 230, 36), qRgb(188, 170, 0), qRgb(72, 62, 0)}},
        {"blue", {qRgb(160, 176, 255), qRgb(80, 108, 255), qRgb(44, 60, 200), qRgb(0, 0, 96)}},
        {"cyan", {qRgb(164, 255, 255), qRgb(36, 220, 232), qRgb(0, 160, 180), qRgb(0, 60, 70)}},
    };
    for (const auto &a : arena)
        out.append({QStringLiteral("q3a/q3-%1.gif").arg(QLatin1String(a.name)), Layout::Quake3,
                    arenaFont(a.colours)});
    return out;
}
