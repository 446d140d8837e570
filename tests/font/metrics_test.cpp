// Font metrics and text extents: GDI's LOGFONT height rules, the advance sums that
// GetTextExtentPoint32A reports, and the Windows-1252 reading of text bytes.
#include "font_test_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>

using fonttest::Logfont;
using standin::font::Font;
using standin::font::FromWindows1252;
using standin::font::Realize;

namespace {

SIZE ExtentOf(const Font &font, const char *text) { return font.Extent(text, std::strlen(text)); }

// The full comparison with GDI is reference_test.cpp; this is the one worked example of
// text measuring (docs/gdi-rules.md, Text: "Hello" in Arial -16 is 38 pixels wide).
TEST(FontMetrics, HelloInArialMinus16IsWhatGdiMeasured)
{
    auto arial = Realize(Logfont("Arial", -16));
    EXPECT_EQ(ExtentOf(*arial, "Hello").cx, 38);
    EXPECT_EQ(ExtentOf(*arial, "Hello").cy, 17);
}

TEST(FontMetrics, PositiveHeightIsTheCellAndNegativeTheEm)
{
    for (const char *face : {"Arial", "Times New Roman", "Courier New"}) {
        for (LONG h = 4; h <= 120; ++h) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(h));
            auto cell = Realize(Logfont(face, h));
            ASSERT_TRUE(cell);
            const standin::font::Metrics &m = cell->GetMetrics();
            EXPECT_EQ(m.height, m.ascent + m.descent);
            // Ascent and descent are rounded apart, so the cell may miss by one pixel.
            EXPECT_LE(std::abs(m.height - h), 1);

            auto em = Realize(Logfont(face, -h));
            ASSERT_TRUE(em);
            EXPECT_EQ(em->PixelsPerEm(), h);
            EXPECT_GT(em->GetMetrics().height, h - 1);
        }
    }
}

TEST(FontMetrics, StylesAndPitchAreReportedAsGdiDoes)
{
    auto bold = Realize(Logfont("Arial", 20, FW_BOLD));
    EXPECT_EQ(bold->GetMetrics().weight, FW_BOLD);
    EXPECT_EQ(bold->GetMetrics().pitchAndFamily, 0x27); // variable pitch, swiss, TrueType
    auto mono = Realize(Logfont("Courier New", 20));
    EXPECT_EQ(mono->GetMetrics().weight, FW_NORMAL);
    EXPECT_EQ(mono->GetMetrics().pitchAndFamily, 0x36); // fixed pitch, modern, TrueType
    auto italic = Realize(Logfont("Times New Roman", 20, FW_NORMAL, true));
    EXPECT_TRUE(italic->GetMetrics().italic);
    EXPECT_EQ(italic->GetMetrics().charSet, ANSI_CHARSET);
}

TEST(FontMetrics, ExtremeHeightsGiveUsableFonts)
{
    for (LONG h : {LONG(INT_MIN), LONG(-100000), LONG(-1), LONG(1), LONG(100000), LONG(INT_MAX)}) {
        SCOPED_TRACE(h);
        auto font = Realize(Logfont("Arial", h));
        ASSERT_TRUE(font);
        EXPECT_GE(font->PixelsPerEm(), 1);
        EXPECT_GE(font->GetMetrics().height, 1);
        EXPECT_GE(ExtentOf(*font, "Wide").cx, 0);
    }
}

TEST(TextExtent, IsTheSumOfTheCharacterAdvancesAndTheCellHeight)
{
    auto font = Realize(Logfont("Times New Roman", 24, FW_BOLD));
    const char *text = "VOLLEYS LEFT: 7 X 18, \xE9t\xE9 \xFC" "ber!";
    LONG sum = 0;
    for (const char *p = text; *p; ++p) sum += font->Extent(p, 1).cx;
    const SIZE whole = ExtentOf(*font, text);
    EXPECT_EQ(whole.cx, sum);
    EXPECT_EQ(whole.cy, font->GetMetrics().height);
    // Only the given count of bytes is measured.
    EXPECT_EQ(font->Extent(text, 3).cx, font->Extent("VOL", 3).cx);
}

TEST(TextExtent, OfNothingIsZeroByZero)
{
    auto font = Realize(Logfont("Arial", 20));
    EXPECT_EQ(font->Extent("", 0).cx, 0);
    EXPECT_EQ(font->Extent("", 0).cy, 0);
    EXPECT_EQ(font->Extent(nullptr, 5).cx, 0);
}

TEST(TextExtent, MonospaceAdvancesAreAllAlike)
{
    auto font = Realize(Logfont("Courier New", 20));
    const LONG one = ExtentOf(*font, "i").cx;
    EXPECT_GT(one, 0);
    EXPECT_EQ(ExtentOf(*font, "iWm.\xE9").cx, 5 * one);
}

TEST(Windows1252, MapsTheHighControlsToTheirCharacters)
{
    EXPECT_EQ(FromWindows1252('A'), U'A');
    EXPECT_EQ(FromWindows1252(0x80), U'\u20AC'); // euro
    EXPECT_EQ(FromWindows1252(0x85), U'\u2026'); // ellipsis
    EXPECT_EQ(FromWindows1252(0x8A), U'\u0160');
    EXPECT_EQ(FromWindows1252(0x93), U'\u201C');
    EXPECT_EQ(FromWindows1252(0x99), U'\u2122');
    EXPECT_EQ(FromWindows1252(0x9F), U'\u0178');
    EXPECT_EQ(FromWindows1252(0xA0), U'\u00A0');
    EXPECT_EQ(FromWindows1252(0xE9), U'\u00E9');
    EXPECT_EQ(FromWindows1252(0xFF), U'\u00FF');
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(FromWindows1252(undefined), undefined);
}

TEST(Windows1252, BytesAreMeasuredAsTheirCharacters)
{
    auto font = Realize(Logfont("Arial", 40));
    // The euro sign and the em dash have glyphs of their own, unlike the undefined bytes.
    const LONG euro = ExtentOf(*font, "\x80").cx;
    const LONG emDash = ExtentOf(*font, "\x97").cx;
    const LONG undefined = ExtentOf(*font, "\x81").cx;
    EXPECT_EQ(emDash, font->PixelsPerEm()); // an em dash is one em wide
    EXPECT_NE(emDash, undefined);
    EXPECT_EQ(undefined, ExtentOf(*font, "\x8D").cx);
    EXPECT_GT(euro, 0);
    // Latin-1 letters are measured, not dropped: "é" is as wide as "e".
    EXPECT_EQ(ExtentOf(*font, "\xE9").cx, ExtentOf(*font, "e").cx);
}

} // namespace
