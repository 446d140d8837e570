// Drawing text into a surface: placement in the cell, pure ink over an untouched
// background, clipping, underline and strike-out, the glyph cache, and exact pixels.
#include "font_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

using fonttest::Fnv1a;
using fonttest::InkBox;
using fonttest::Logfont;
using standin::font::Realize;
using standin::gdi::Pixel;
using standin::gdi::Surface;

namespace {

constexpr Pixel kMarker = 0x00F0E0D0; // a background no text colour below uses
constexpr COLORREF kRed = 0x000000FF;

int Draw(Surface &s, const LOGFONTA &lf, int x, int y, const char *text, COLORREF color = kRed,
         const RECT *clip = nullptr)
{
    auto font = Realize(lf);
    EXPECT_TRUE(font);
    return font ? font->Draw(s, x, y, text, std::strlen(text), color, clip) : -1;
}

TEST(DrawText, WritesOnlyInkInTheTextColourInsideTheCell)
{
    Surface s(300, 80, kMarker);
    const LOGFONTA lf = Logfont("Arial", 20, FW_BOLD);
    auto font = Realize(lf);
    const int advance = Draw(s, lf, 9, 30, "MISSLE COUNT:");
    EXPECT_EQ(advance, font->Extent("MISSLE COUNT:", 13).cx);

    size_t ink = 0;
    for (Pixel p : s.pixels) {
        ASSERT_TRUE(p == kMarker || p == standin::gdi::PixelFromColorref(kRed)) << std::hex << p;
        ink += p != kMarker;
    }
    EXPECT_GT(ink, 200u);
    const RECT box = InkBox(s, kMarker);
    // Capitals sit between the cell top (plus internal leading) and the baseline.
    EXPECT_GE(box.top, 30 + font->GetMetrics().internalLeading);
    EXPECT_EQ(box.bottom, 30 + font->GetMetrics().ascent);
    EXPECT_GE(box.left, 9);
    EXPECT_LE(box.left, 11);
    EXPECT_LE(box.right, 9 + advance);
    EXPECT_GE(box.right, 9 + advance - 4);
}

TEST(DrawText, DescendersReachBelowTheBaselineWithinTheCell)
{
    Surface s(200, 60, kMarker);
    const LOGFONTA lf = Logfont("Times New Roman", 24);
    auto font = Realize(lf);
    Draw(s, lf, 5, 10, "gjpqy");
    const RECT box = InkBox(s, kMarker);
    EXPECT_GT(box.bottom, 10 + font->GetMetrics().ascent);
    EXPECT_LE(box.bottom, 10 + font->GetMetrics().height);
}

TEST(DrawText, ClipsAtTheSurfaceEdgesAndTheClipRectangle)
{
    const LOGFONTA lf = Logfont("Courier New", 40, FW_BOLD);
    Surface big(400, 200, kMarker);
    Draw(big, lf, 100, 100, "Wg\xC9");

    // The same text half outside a small surface shows exactly the overlapping part.
    Surface small(60, 50, kMarker);
    Draw(small, lf, -30, -20, "Wg\xC9");
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            ASSERT_EQ(small.Row(y)[x], big.Row(y + 120)[x + 130]) << x << "," << y;

    // Far outside: nothing drawn, nothing broken.
    Surface untouched(50, 50, kMarker);
    Draw(untouched, lf, -100000, 30, "far");
    Draw(untouched, lf, 30, 1000000, "far");
    Draw(untouched, lf, INT32_MAX - 5, INT32_MAX - 5, "far");
    EXPECT_EQ(InkBox(untouched, kMarker).right, 0);

    Surface clipped(400, 200, kMarker);
    const RECT clip{110, 105, 140, 130};
    Draw(clipped, lf, 100, 100, "Wg\xC9", kRed, &clip);
    for (int y = 0; y < clipped.height; ++y)
        for (int x = 0; x < clipped.width; ++x) {
            const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            ASSERT_EQ(clipped.Row(y)[x], inside ? big.Row(y)[x] : kMarker) << x << "," << y;
        }
}

TEST(DrawText, UnderlineAndStrikeOutSpanTheAdvanceAtTheFontsPositions)
{
    LOGFONTA plain = Logfont("Arial", 40);
    LOGFONTA lined = plain;
    lined.lfUnderline = 1;
    lined.lfStrikeOut = 1;
    auto font = Realize(lined);
    EXPECT_TRUE(font->GetMetrics().underlined);
    EXPECT_TRUE(font->GetMetrics().struckOut);
    const standin::font::TextLine under = font->Underline();
    const standin::font::TextLine strike = font->StrikeOut();
    EXPECT_GE(under.offset, 0);  // from the baseline down
    EXPECT_LT(strike.offset, 0); // above it
    EXPECT_GE(under.thickness, 1);
    EXPECT_GE(strike.thickness, 1);

    Surface a(300, 80, kMarker), b(300, 80, kMarker);
    const int x = 7, y = 11;
    Draw(a, plain, x, y, "a b");
    const int advance = Draw(b, lined, x, y, "a b");
    const int baseline = y + font->GetMetrics().ascent;
    auto inLine = [&](int row, standin::font::TextLine line) {
        return row >= baseline + line.offset && row < baseline + line.offset + line.thickness;
    };
    for (int row = 0; row < a.height; ++row)
        for (int col = 0; col < a.width; ++col) {
            const bool band = col >= x && col < x + advance && (inLine(row, under) || inLine(row, strike));
            if (band) ASSERT_EQ(b.Row(row)[col], standin::gdi::PixelFromColorref(kRed)) << col << "," << row;
            else ASSERT_EQ(b.Row(row)[col], a.Row(row)[col]) << col << "," << row;
        }
}

TEST(DrawText, SyntheticBoldIsWiderByAPixelACharacter)
{
    // Only meaningful for a family without a bold face; Liberation Sans Narrow is one
    // in some releases, and the regular Liberation families never are.
    for (const char *family : {"DejaVu Math TeX Gyre", "Liberation Sans Narrow"}) {
        auto bold = Realize(Logfont(family, 30, FW_BOLD));
        if (!bold || !bold->SyntheticBold() || bold->FamilyName() != family) continue;
        auto regular = Realize(Logfont(family, 30));
        EXPECT_EQ(bold->Extent("abc", 3).cx, regular->Extent("abc", 3).cx + 3);
        EXPECT_EQ(bold->GetMetrics().weight, FW_BOLD);
        Surface s(200, 60, kMarker), t(200, 60, kMarker);
        bold->Draw(s, 5, 5, "l", 1, kRed);
        regular->Draw(t, 5, 5, "l", 1, kRed);
        const RECT wide = InkBox(s, kMarker), narrow = InkBox(t, kMarker);
        EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
        return;
    }
    GTEST_SKIP() << "no installed family lacks a bold face";
}

TEST(DrawText, AGlyphLargerThanTheSurfaceShowsTheSamePixelsThroughAnyWindow)
{
    // A glyph hundreds of pixels wide, its bits packed eight a byte: a small surface placed
    // anywhere over it (at offsets that are no multiple of 8) shows exactly what a large
    // one shows there.
    const LOGFONTA lf = Logfont("Arial", -700, FW_BOLD);
    Surface whole(700, 800, kMarker);
    Draw(whole, lf, 20, 0, "O");
    const RECT box = InkBox(whole, kMarker);
    ASSERT_GT(box.right - box.left, 400);
    const int midX = (box.left + box.right) / 2, midY = (box.top + box.bottom) / 2;
    // Windows across the left edge, the top edge and the inner right edge of the ring.
    for (const auto &[dx, dy] : {std::pair{box.left - 13, midY - 21}, std::pair{midX - 29, box.top - 19},
                                 std::pair{midX + 100, midY + 5}}) {
        Surface window(61, 43, kMarker);
        Draw(window, lf, 20 - dx, -dy, "O");
        int ink = 0;
        for (int y = 0; y < window.height; ++y)
            for (int x = 0; x < window.width; ++x) {
                ASSERT_EQ(window.Row(y)[x], whole.Row(y + dy)[x + dx]) << dx + x << "," << dy + y;
                ink += window.Row(y)[x] != kMarker;
            }
        EXPECT_GT(ink, 0) << dx << "," << dy;
        EXPECT_LT(ink, window.width * window.height) << dx << "," << dy;
    }
}

TEST(GlyphCache, RasterisesEachGlyphOncePerFaceAndSize)
{
    standin::font::ClearCache();
    const LOGFONTA plain = Logfont("Arial", 33);
    LOGFONTA underlined = plain;
    underlined.lfUnderline = 1;
    auto font = Realize(plain);
    EXPECT_EQ(Realize(plain), font); // equal LOGFONTs give the same font
    EXPECT_EQ(font->RasterisedGlyphs(), 0u);

    Surface s(400, 60, kMarker);
    font->Draw(s, 0, 0, "ABBA", 4, kRed);
    EXPECT_EQ(font->RasterisedGlyphs(), 2u);
    font->Draw(s, 0, 0, "BAAB", 4, kRed);
    EXPECT_EQ(font->RasterisedGlyphs(), 2u);

    // Underlining changes nothing about the glyphs: the same cache serves both fonts.
    auto other = Realize(underlined);
    EXPECT_NE(other, font);
    other->Draw(s, 0, 0, "AC", 2, kRed);
    EXPECT_EQ(font->RasterisedGlyphs(), 3u);
    EXPECT_EQ(other->RasterisedGlyphs(), 3u);

    // A face name's bytes after its terminator do not make a different font.
    LOGFONTA noisy = plain;
    std::memset(noisy.lfFaceName + 6, 'x', LF_FACESIZE - 6);
    EXPECT_EQ(Realize(noisy), font);
}

TEST(GlyphCache, KeepsGlyphsWhenFontsAreReleasedAndRealisedAgain)
{
    standin::font::ClearCache();
    auto font = Realize(Logfont("Courier New", 18));
    Surface s(100, 40, kMarker);
    font->Draw(s, 0, 0, "xyz", 3, kRed);
    EXPECT_EQ(Realize(Logfont("Courier New", 18))->RasterisedGlyphs(), 3u);
}

// Exact pixels of our own renderer, recorded once: any change to hinting, rasterising
// or placement shows here. These texts drew the same pixels under Wine's GDI with
// aliased text (NONANTIALIASED_QUALITY); the conformance tool checks that in full.
TEST(DrawText, IsPixelExactAndRepeatable)
{
    struct Case {
        LOGFONTA lf;
        const char *text;
        uint64_t hash;
    };
    LOGFONTA underlined = Logfont("Times New Roman", 16, FW_NORMAL, true);
    underlined.lfUnderline = 1;
    const Case cases[] = {
        {Logfont("Arial", 20, FW_BOLD), "MISSLE COUNT: 0123456789", 0x6A29E938CF029FE3ull},
        {Logfont("Arial", 20, FW_BOLD), "ESC - EXIT      R - REFRESH      V - VOLLEYS", 0xFCE5328BAA0E2393ull},
        {underlined, "\xC9t\xE9, \xFC" "ber \x80 5\x85", 0x4BEE5A09CA81CB63ull},
        {Logfont("Courier New", -13, FW_BOLD, true), "SHIPS SUNK: 17", 0xB5E223AA10012A63ull},
        {Logfont(nullptr, 10, FW_NORMAL, false, FF_SWISS), "size 10 default", 0x4660AA5AAD6F0583ull},
    };
    for (const Case &c : cases) {
        Surface s(520, 40, kMarker);
        Draw(s, c.lf, 3, 4, c.text, 0x00203040);
        Surface again(520, 40, kMarker);
        standin::font::ClearCache();
        Draw(again, c.lf, 3, 4, c.text, 0x00203040);
        EXPECT_EQ(s.pixels, again.pixels) << c.text;
        EXPECT_EQ(Fnv1a(s), c.hash) << c.text;
    }
}

} // namespace
