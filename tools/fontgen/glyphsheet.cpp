#include "glyphsheet.h"

#include <QtGlobal>
#include <string>

namespace {

std::vector<std::string_view> splitWhitespace(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

[[noreturn]] void fail(std::size_t sheet, std::size_t row, const char *what)
{
    qFatal("fontgen: glyph sheet %zu, row %zu: %s", sheet, row, what);
}

} // namespace

std::vector<int> GlyphSheet::codes(std::string_view bytes)
{
    std::vector<int> out;
    for (char c : bytes)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

GlyphSet GlyphSheet::parse(const std::vector<Sheet> &sheets, int height)
{
    GlyphSet set;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        const Sheet &sheet = sheets[s];
        std::vector<std::vector<std::string_view>> rows;
        std::string_view text = sheet.rows;
        while (!text.empty()) {
            std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            auto tokens = splitWhitespace(line);
            if (!tokens.empty())
                rows.push_back(tokens);
        }
        if (static_cast<int>(rows.size()) != height)
            fail(s, rows.size(), "wrong number of rows");
        std::vector<Bitmap> glyphs;
        for (std::string_view token : rows[0])
            glyphs.emplace_back(static_cast<int>(token.size()), height);
        if (glyphs.size() != sheet.codes.size())
            fail(s, 0, "token count differs from the code count");
        for (int y = 0; y < height; ++y) {
            if (rows[y].size() != glyphs.size())
                fail(s, y, "token count differs from the first row");
            for (std::size_t g = 0; g < glyphs.size(); ++g) {
                std::string_view token = rows[y][g];
                if (static_cast<int>(token.size()) != glyphs[g].width())
                    fail(s, y, "token width differs from the first row");
                for (int x = 0; x < glyphs[g].width(); ++x) {
                    if (token[x] == '#')
                        glyphs[g].set(x, y);
                    else if (token[x] != '.')
                        fail(s, y, "a token holds a character other than '#' and '.'");
                }
            }
        }
        for (std::size_t g = 0; g < glyphs.size(); ++g) {
            if (!set.emplace(sheet.codes[g], glyphs[g]).second)
                fail(s, 0, "a code is drawn twice");
        }
    }
    return set;
}
