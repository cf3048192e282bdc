// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a font set for the benchmarks: `count` families "Bench Family 0001" ...,
// all with the outlines of one TrueType font, as TrueType collections of at most
// 250 faces each. The faces of a collection share every table except their own
// name table, so 4000 families take a few megabytes rather than 3 GB.
//
//   fontset <count> <font.ttf> <output folder>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kFacesPerFile = 250;

std::uint32_t read32(const Bytes &b, std::size_t at)
{
    return std::uint32_t(b.at(at)) << 24 | std::uint32_t(b.at(at + 1)) << 16 |
           std::uint32_t(b.at(at + 2)) << 8 | b.at(at + 3);
}

std::uint16_t read16(const Bytes &b, std::size_t at)
{
    return std::uint16_t(b.at(at) << 8 | b.at(at + 1));
}

void put16(Bytes &b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v >> 8));
    b.push_back(std::uint8_t(v));
}

void put32(Bytes &b, std::uint32_t v)
{
    put16(b, v >> 16);
    put16(b, v & 0xffff);
}

void pad4(Bytes &b)
{
    while (b.size() % 4)
        b.push_back(0);
}

std::uint32_t checksum(const Bytes &b, std::size_t at, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < length ? b[at + i + k] : 0);
        sum += word;
    }
    return sum;
}

struct Table
{
    std::uint32_t tag;
    std::size_t offset; // in the source font, then in the collection
    std::size_t length;
    std::uint32_t sum;
};

std::uint32_t tagOf(const char (&name)[5])
{
    return std::uint32_t(name[0]) << 24 | std::uint32_t(name[1]) << 16 |
           std::uint32_t(name[2]) << 8 | std::uint32_t(name[3]);
}

// A name table with the family, style, unique, full and PostScript names, in the
// Windows Unicode encoding that fontconfig and FreeType read first.
Bytes nameTable(const std::string &family)
{
    std::string postscript = family;
    postscript.erase(std::remove(postscript.begin(), postscript.end(), ' '), postscript.end());
    const std::vector<std::pair<int, std::string>> names = {
        {1, family}, {2, "Regular"}, {3, family}, {4, family}, {6, postscript + "-Regular"}};

    Bytes strings;
    Bytes table;
    put16(table, 0);
    put16(table, std::uint32_t(names.size()));
    put16(table, std::uint32_t(6 + 12 * names.size()));
    for (const auto &[id, text] : names) {
        put16(table, 3);      // Windows
        put16(table, 1);      // Unicode BMP
        put16(table, 0x0409); // English (United States)
        put16(table, std::uint32_t(id));
        put16(table, std::uint32_t(2 * text.size()));
        put16(table, std::uint32_t(strings.size()));
        for (char c : text)
            put16(strings, std::uint8_t(c));
    }
    table.insert(table.end(), strings.begin(), strings.end());
    return table;
}

bool writeCollection(const std::filesystem::path &path, const Bytes &font,
                     const std::vector<Table> &tables, int first, int count)
{
    const std::size_t numTables = tables.size();
    const std::size_t directorySize = 12 + 16 * numTables;
    const std::size_t headerSize = 12 + 4 * std::size_t(count);

    // Layout: collection header, one table directory per face, the shared
    // tables, then one name table per face.
    Bytes out;
    put32(out, tagOf("ttcf"));
    put32(out, 0x00010000);
    put32(out, std::uint32_t(count));
    for (int i = 0; i < count; ++i)
        put32(out, std::uint32_t(headerSize + directorySize * std::size_t(i)));
    out.resize(headerSize + directorySize * std::size_t(count));
    pad4(out);

    std::vector<Table> shared = tables;
    for (Table &t : shared) {
        if (t.tag == tagOf("name"))
            continue;
        const std::size_t at = out.size();
        out.insert(out.end(), font.begin() + std::ptrdiff_t(t.offset),
                   font.begin() + std::ptrdiff_t(t.offset + t.length));
        t.offset = at;
        pad4(out);
    }

    for (int i = 0; i < count; ++i) {
        char family[64];
        std::snprintf(family, sizeof family, "Bench Family %04d", first + i);
        const Bytes name = nameTable(family);
        const std::size_t nameAt = out.size();
        out.insert(out.end(), name.begin(), name.end());
        pad4(out);

        Bytes directory;
        std::uint32_t entrySelector = 0;
        while ((2u << entrySelector) <= numTables)
            ++entrySelector;
        const std::uint32_t searchRange = 16u << entrySelector;
        put32(directory, 0x00010000);
        put16(directory, std::uint32_t(numTables));
        put16(directory, searchRange);
        put16(directory, entrySelector);
        put16(directory, std::uint32_t(numTables * 16 - searchRange));
        for (const Table &t : shared) {
            put32(directory, t.tag);
            if (t.tag == tagOf("name")) {
                put32(directory, checksum(out, nameAt, name.size()));
                put32(directory, std::uint32_t(nameAt));
                put32(directory, std::uint32_t(name.size()));
            } else {
                put32(directory, t.sum);
                put32(directory, std::uint32_t(t.offset));
                put32(directory, std::uint32_t(t.length));
            }
        }
        std::copy(directory.begin(), directory.end(),
                  out.begin() + std::ptrdiff_t(headerSize + directorySize * std::size_t(i)));
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(out.data()), std::streamsize(out.size()));
    file.close();
    return bool(file);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <count> <font.ttf> <output folder>\n", argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[1]);
    std::ifstream in(argv[2], std::ios::binary);
    const Bytes font{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (count < 1 || font.size() < 12 || read32(font, 0) != 0x00010000) {
        std::fprintf(stderr, "fontset: needs a count and a TrueType font (not a collection)\n");
        return 2;
    }

    std::vector<Table> tables;
    const int numTables = read16(font, 4);
    for (int i = 0; i < numTables; ++i) {
        const std::size_t at = 12 + 16 * std::size_t(i);
        const Table t{read32(font, at), read32(font, at + 8), read32(font, at + 12),
                      read32(font, at + 4)};
        // A signature would no longer match the renamed faces.
        if (t.tag != tagOf("DSIG"))
            tables.push_back(t);
        if (t.offset + t.length > font.size()) {
            std::fprintf(stderr, "fontset: %s is truncated\n", argv[2]);
            return 1;
        }
    }

    const std::filesystem::path folder = argv[3];
    std::filesystem::create_directories(folder);
    for (int first = 1; first <= count; first += kFacesPerFile) {
        const int faces = std::min(kFacesPerFile, count - first + 1);
        char name[64];
        std::snprintf(name, sizeof name, "bench-families-%04d.ttc", first);
        if (!writeCollection(folder / name, font, tables, first, faces)) {
            std::fprintf(stderr, "fontset: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
