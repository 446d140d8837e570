// The stand-in's text against what real GDI reported under Wine with the same Liberation
// files (tests/font/gdi-reference.txt, made by tools/font-reference.sh): metrics, every
// extent, and the ink and current position of TA_UPDATECP text output.
//
// Metrics, extents, current positions and aliased ink (NONANTIALIASED_QUALITY) are
// compared exactly. GDI's default quality under Wine greys glyph edges from 18 pixels per
// em up (the fonts' gasp table says so) and then lays glyphs out with the advances of
// grey hinting, where aliased text uses those of monochrome hinting; the stand-in always
// draws aliased. Against that default-quality ink the box may differ by one pixel at the
// left, top and bottom, and at the right by at most one pixel a character.
#include "font_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

using fonttest::Logfont;
using standin::font::Font;
using standin::font::Realize;

namespace {

struct FontLine {
    std::string face;
    LONG height = 0, weight = 0;
    int style = 0; // 1 italic, 2 underline, 4 strike-out
    std::vector<long> metrics; // height ascent descent il el ave max weight pitch charset
};

struct Reference {
    std::map<int, FontLine> fonts;
    std::vector<std::vector<std::string>> extents;    // id text cx cy
    std::vector<std::vector<std::string>> placements; // id text x y cpx cpy l t r b hash gl gt gr gb
};

std::vector<std::string> Split(const std::string &line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

std::string Unhex(const std::string &hex)
{
    if (hex == "-") return "";
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

const Reference &Table()
{
    static const Reference table = [] {
        Reference r;
        std::ifstream in(QG_FONT_REFERENCE);
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> f = Split(line);
            if (f.empty()) continue;
            if (f[0] == "F" && f.size() == 16) {
                FontLine font{f[2], static_cast<LONG>(std::stol(f[3])), static_cast<LONG>(std::stol(f[4])),
                              std::stoi(f[5]), {}};
                for (size_t i = 6; i < 16; ++i) font.metrics.push_back(std::stol(f[i]));
                r.fonts[std::stoi(f[1])] = font;
            } else if (f[0] == "E" && f.size() == 5) {
                r.extents.emplace_back(f.begin() + 1, f.end());
            } else if (f[0] == "P" && f.size() == 16) {
                r.placements.emplace_back(f.begin() + 1, f.end());
            }
        }
        return r;
    }();
    return table;
}

std::shared_ptr<const Font> FontFor(int id)
{
    const FontLine &line = Table().fonts.at(id);
    LOGFONTA lf = Logfont(line.face.c_str(), line.height, line.weight, (line.style & 1) != 0);
    lf.lfUnderline = (line.style & 2) != 0;
    lf.lfStrikeOut = (line.style & 4) != 0;
    return Realize(lf);
}

std::string Describe(int id)
{
    const FontLine &line = Table().fonts.at(id);
    return line.face + " " + std::to_string(line.height) + " weight " + std::to_string(line.weight) + " style " +
           std::to_string(line.style);
}

TEST(GdiReference, TableIsComplete)
{
    // 3 faces x 13 heights x 2 weights, measured with 28 texts; then 3 faces x 3 heights
    // x 3 styles (italic, underline, strike-out mixed). Each font places 2 texts.
    EXPECT_EQ(Table().fonts.size(), 78u + 27u);
    EXPECT_EQ(Table().extents.size(), 78u * 28u);
    EXPECT_EQ(Table().placements.size(), (78u + 27u) * 2u);
}

TEST(GdiReference, TextMetricsMatch)
{
    for (const auto &[id, line] : Table().fonts) {
        SCOPED_TRACE(Describe(id));
        const standin::font::Metrics &m = FontFor(id)->GetMetrics();
        const std::vector<long> ours{m.height, m.ascent, m.descent, m.internalLeading, m.externalLeading,
                                     m.aveCharWidth, m.maxCharWidth, m.weight, m.pitchAndFamily, m.charSet};
        EXPECT_EQ(ours, line.metrics);
    }
}

TEST(GdiReference, TextExtentsMatchExactly)
{
    size_t matches = 0;
    for (const std::vector<std::string> &e : Table().extents) {
        const int id = std::stoi(e[0]);
        const std::string text = Unhex(e[1]);
        const SIZE size = FontFor(id)->Extent(text.data(), text.size());
        const bool same = size.cx == std::stol(e[2]) && size.cy == std::stol(e[3]);
        matches += same;
        EXPECT_TRUE(same) << Describe(id) << " \"" << text << "\": " << size.cx << "x" << size.cy << ", GDI "
                          << e[2] << "x" << e[3];
    }
    std::cout << "extents matching GDI exactly: " << matches << "/" << Table().extents.size() << "\n";
}

TEST(GdiReference, UpdateCpPlacementMatches)
{
    constexpr int kWidth = 1000, kHeight = 100;
    constexpr standin::gdi::Pixel kMarker = 0x00F0E0D0;
    size_t exact = 0;
    for (const std::vector<std::string> &p : Table().placements) {
        const int id = std::stoi(p[0]);
        const std::string text = Unhex(p[1]);
        SCOPED_TRACE(Describe(id) + " \"" + text + "\"");
        std::vector<long> v;
        for (size_t i = 2; i < p.size(); ++i)
            v.push_back(i == 10 ? 0 : std::stol(p[i]));
        const int x = static_cast<int>(v[0]), y = static_cast<int>(v[1]);

        standin::gdi::Surface s(kWidth, kHeight, kMarker);
        const int advance = FontFor(id)->Draw(s, x, y, text.data(), text.size(), 0);
        // TA_UPDATECP moves the current position along by the advance, not down.
        EXPECT_EQ(x + advance, v[2]);
        EXPECT_EQ(y, v[3]);

        RECT ink = fonttest::InkBox(s, kMarker);
        uint64_t hash = 1469598103934665603ull;
        for (standin::gdi::Pixel px : s.pixels) hash = (hash ^ (px != kMarker ? 1u : 0u)) * 1099511628211ull;
        const std::vector<long> box{ink.left, ink.top, ink.right, ink.bottom};
        EXPECT_EQ(box, (std::vector<long>{v[4], v[5], v[6], v[7]}));
        EXPECT_EQ(hash, std::strtoull(p[10].c_str(), nullptr, 16)) << "aliased pixels differ";
        exact += box == std::vector<long>{v[4], v[5], v[6], v[7]} &&
                 hash == std::strtoull(p[10].c_str(), nullptr, 16);

        const long grey[] = {v[9], v[10], v[11], v[12]};
        EXPECT_LE(std::labs(box[0] - grey[0]), 1) << "default-quality ink, left";
        EXPECT_LE(std::labs(box[1] - grey[1]), 1) << "default-quality ink, top";
        EXPECT_LE(std::labs(box[2] - grey[2]), static_cast<long>(text.size())) << "default-quality ink, right";
        EXPECT_LE(std::labs(box[3] - grey[3]), 1) << "default-quality ink, bottom";
    }
    std::cout << "placements with pixel-identical aliased ink: " << exact << "/" << Table().placements.size()
              << "\n";
}

} // namespace
