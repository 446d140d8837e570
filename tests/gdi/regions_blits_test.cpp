// Regions, mix modes and pixel transfers: region footprints, R2_NOT's double inversion
// of shared outline pixels, and GDI's stretch pixel selection.
#include "raster_test_util.h"

#include "gdi/raster/blit.h"
#include "gdi/raster/region.h"
#include "gdi/raster/shapes.h"
#include "gdi/raster/writer.h"

#include <gtest/gtest.h>

#include <random>

using namespace rastertest;
using raster::Point;
using raster::Region;
using Rows = std::vector<std::string>;

namespace {

Surface Painted(const Region &rgn, int w = 24, int h = 16)
{
    Surface s = Blank(w, h);
    raster::PaintRegion(s, rgn, raster::MixFor(13, kBrush));
    return s;
}

} // namespace

TEST(Region, EllipticRegionIsOnePixelSmallerThanTheEllipse)
{
    EXPECT_EQ(Picture(Painted(Region::Elliptic(1, 1, 11, 9)), 0, 1, 12, 8),
              (Rows{"...ooooo....", "..ooooooo...", ".ooooooooo..", ".ooooooooo..", ".ooooooooo..",
                    "..ooooooo...", "...ooooo...."}));
    // The ellipse's footprint is the region one larger on the right and bottom.
    Surface e = Blank();
    raster::DrawEllipse(e, State(1, true), 1, 1, 11, 9);
    Surface r = Painted(Region::Elliptic(1, 1, 12, 10));
    for (int y = 0; y < e.height; ++y)
        for (int x = 0; x < e.width; ++x)
            EXPECT_EQ(e.Row(y)[x] != kBackground, r.Row(y)[x] != kBackground) << x << "," << y;
}

TEST(Region, DegenerateAndRoundRectRegions)
{
    // Small corners give the plain rectangle, pulled in by one.
    EXPECT_EQ(Touched(Painted(Region::RoundRect(2, 2, 5, 4, 1, 9))),
              (std::vector<std::pair<int, int>>{{2, 2}, {3, 2}}));
    // An empty box turns into the pixel just before it.
    EXPECT_EQ(Touched(Painted(Region::Elliptic(3, 3, 3, 3))), (std::vector<std::pair<int, int>>{{2, 2}}));
    // Swapped corners are put in order first.
    EXPECT_EQ(Painted(Region::RoundRect(12, 10, 2, 2, 6, 4)).pixels,
              Painted(Region::RoundRect(2, 2, 12, 10, 6, 4)).pixels);
    // Tall thin ellipses keep every row.
    Surface thin = Painted(Region::Elliptic(0, 0, 4, 15), 8, 16);
    for (int y = 0; y < 14; ++y) EXPECT_NE(thin.Row(y)[1], kBackground) << y;
}

TEST(Region, PolygonRegionEqualsPolygonFillAndInvertTwiceRestores)
{
    std::vector<Point> star = {{12, 1}, {19, 14}, {2, 5}, {22, 5}, {5, 14}};
    raster::DrawState st = State(1, true, raster::PenKind::Null);
    st.polyFillMode = 2;
    Surface drawn = Blank();
    raster::DrawPolygon(drawn, st, star);
    EXPECT_EQ(Painted(Region::Polygon(star, 2)).pixels, drawn.pixels);

    Surface s = Blank();
    for (int i = 0; i < 3; ++i) s.Row(4)[i + 10] = 0x123456;
    const Surface before = s;
    raster::InvertRegion(s, Region::Polygon(star, 2));
    EXPECT_EQ(s.Row(8)[12], kBackground ^ 0xFFFFFF);
    raster::InvertRegion(s, Region::Polygon(star, 2));
    EXPECT_EQ(s.pixels, before.pixels);
}

TEST(Mix, NotInvertsSharedOutlinePixelsTwice)
{
    raster::DrawState st = State(1, true);
    st.rop2 = 6; // R2_NOT
    const Pixel inv = kBackground ^ 0xFFFFFF;

    // Ellipse: interior inverted, outline inverted twice (unchanged).
    Surface e = Blank();
    raster::DrawEllipse(e, st, 1, 1, 10, 10);
    EXPECT_EQ(e.Row(5)[5], inv);
    EXPECT_EQ(e.Row(5)[1], kBackground);
    EXPECT_EQ(e.Row(1)[5], kBackground);

    // Rectangle: outline and interior are disjoint, everything inverted once.
    Surface r = Blank();
    raster::DrawRectangle(r, st, 2, 2, 8, 6);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 8; ++x) EXPECT_EQ(r.Row(y)[x], inv) << x << "," << y;

    // Polygon: the left and top edges are in the fill and the outline; the right and
    // bottom ones only in the outline.
    Surface p = Blank();
    raster::DrawPolygon(p, st, {{2, 2}, {10, 2}, {10, 8}, {2, 8}});
    EXPECT_EQ(p.Row(2)[5], kBackground);
    EXPECT_EQ(p.Row(5)[2], kBackground);
    EXPECT_EQ(p.Row(8)[5], inv);
    EXPECT_EQ(p.Row(5)[10], inv);
    EXPECT_EQ(p.Row(5)[5], inv);

    // A wide pen's area excludes the brush: inverted exactly once.
    Surface w = Blank();
    raster::DrawEllipse(w, State(3, true), 1, 1, 14, 14);
    Surface wn = Blank();
    raster::DrawState wst = State(3, true);
    wst.rop2 = 6;
    raster::DrawEllipse(wn, wst, 1, 1, 14, 14);
    for (size_t i = 0; i < w.pixels.size(); ++i)
        EXPECT_EQ(wn.pixels[i], w.pixels[i] == kBackground ? kBackground : inv);
}

TEST(Mix, EveryRop2MatchesItsTruthTable)
{
    std::mt19937 rng(7);
    for (int rop = 1; rop <= 16; ++rop) {
        for (int i = 0; i < 50; ++i) {
            const uint32_t pen = rng() & 0xFFFFFF, dst = rng() & 0xFFFFFF;
            const raster::Mix m = raster::MixFor(rop, pen);
            const uint32_t got = (dst & m.andMask) ^ m.xorMask;
            uint32_t want = 0;
            for (int bit = 0; bit < 24; ++bit) {
                const unsigned p = (pen >> bit) & 1, d = (dst >> bit) & 1;
                want |= static_cast<uint32_t>(((rop - 1) >> (2 * p + d)) & 1) << bit;
            }
            ASSERT_EQ(got, want) << "rop " << rop;
        }
    }
}

TEST(Mix, FastRunWriterEqualsThePerPixelWriter)
{
    std::mt19937 rng(12345);
    for (int iter = 0; iter < 500; ++iter) {
        Surface a(37, 3), b(37, 3);
        for (size_t i = 0; i < a.pixels.size(); ++i) a.pixels[i] = b.pixels[i] = rng() & 0xFFFFFF;
        const raster::Mix m = raster::MixFor(1 + static_cast<int>(rng() % 16), rng() & 0xFFFFFF);
        const int x0 = static_cast<int>(rng() % 37), x1 = x0 + static_cast<int>(rng() % (38 - x0));
        const int y = static_cast<int>(rng() % 3);
        raster::WriteRun(a, y, x0, x1, m);
        raster::WriteRunReference(b, y, x0, x1, m);
        ASSERT_EQ(a.pixels, b.pixels) << iter;
    }
}

TEST(Stretch, PixelSelectionPerAxis)
{
    auto map = [](int s, int d) {
        std::vector<std::pair<int64_t, int64_t>> out;
        for (int i = 0; i < d; ++i) {
            int64_t f, l;
            raster::StretchSource(s, d, i, f, l);
            out.push_back({f, l});
        }
        return out;
    };
    using M = std::vector<std::pair<int64_t, int64_t>>;
    EXPECT_EQ(map(2, 3), (M{{0, 0}, {0, 0}, {1, 1}}));
    EXPECT_EQ(map(3, 4), (M{{0, 0}, {1, 1}, {1, 1}, {2, 2}}));
    EXPECT_EQ(map(3, 5), (M{{0, 0}, {0, 0}, {1, 1}, {2, 2}, {2, 2}}));
    EXPECT_EQ(map(2, 5), (M{{0, 0}, {0, 0}, {0, 0}, {1, 1}, {1, 1}}));
    EXPECT_EQ(map(6, 4), (M{{0, 1}, {2, 2}, {3, 4}, {5, 5}}));
    EXPECT_EQ(map(3, 2), (M{{0, 1}, {2, 2}}));
    EXPECT_EQ(map(5, 3), (M{{0, 1}, {2, 2}, {3, 4}}));
}

TEST(Stretch, ShrinkingMergesByTheMode)
{
    Surface src(4, 1);
    src.pixels = {0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00};
    Surface dst(2, 1, 0x777777);
    raster::StretchBlock(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, raster::kBlackOnWhite, false);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0, 0}));
    raster::StretchBlock(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, raster::kWhiteOnBlack, false);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0xFFFF00, 0xFFFF00}));
    raster::StretchBlock(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, raster::kColorOnColor, false);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0x00FF00, 0x00FF00}));
    // Enlarging replicates; a negative destination width mirrors.
    Surface big(4, 1, 0);
    Surface two(2, 1);
    two.pixels = {0x111111, 0x222222};
    raster::StretchBlock(big, 3, 0, -4, 1, two, 0, 0, 2, 1, raster::kBlackOnWhite, false);
    EXPECT_EQ(big.pixels, (std::vector<Pixel>{0x222222, 0x222222, 0x111111, 0x111111}));
}

TEST(Blit, SourcePartlyOutsideLeavesTheRestAlone)
{
    Surface src(4, 4, 0xABCDEF);
    Surface dst(12, 12, kBackground);
    raster::CopyBlock(dst, 2, 2, 8, 8, src, -2, -2);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool copied = x >= 4 && x < 8 && y >= 4 && y < 8;
            EXPECT_EQ(dst.Row(y)[x], copied ? 0xABCDEFu : kBackground) << x << "," << y;
        }
    // Overlapping copies within one surface move the block intact in every direction.
    for (int dir = 0; dir < 4; ++dir) {
        Surface s(10, 10);
        for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<Pixel>(i);
        const Surface orig = s;
        const int dx = dir == 0 ? 2 : dir == 1 ? -2 : 0, dy = dir == 2 ? 2 : dir == 3 ? -2 : 0;
        raster::CopyBlock(s, 3 + dx, 3 + dy, 4, 4, s, 3, 3);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(s.Row(3 + dy + y)[3 + dx + x], orig.Row(3 + y)[3 + x]);
    }
}

TEST(Dib, ScanLinesFollowTheOrientation)
{
    const uint32_t bits[4] = {0xFF000001, 0x00000002, 0x00000003, 0x00000004}; // 2 x 2
    Surface top = raster::SurfaceFromDib32(bits, 2, -2, 0, 2, nullptr);
    EXPECT_EQ(top.pixels, (std::vector<Pixel>{1, 2, 3, 4}));
    Surface bottom = raster::SurfaceFromDib32(bits, 2, 2, 0, 2, nullptr);
    EXPECT_EQ(bottom.pixels, (std::vector<Pixel>{3, 4, 1, 2}));
}
