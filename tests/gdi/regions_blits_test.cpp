// Regions, mix modes and pixel transfers: region footprints, R2_NOT's double inversion
// of shared outline pixels, and GDI's stretch pixel selection.
#include "raster_test_util.h"

#include "gdi/raster/blit.h"
#include "gdi/raster/stretch.h"
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

namespace {

// A surface read as a transfer's source, and one written as its destination.
struct SourceOf : raster::SourceRows {
    const Surface &s;
    explicit SourceOf(const Surface &surface) : s(surface) {}
    const raster::LoosePixel *Row(int32_t y) override { return s.Row(y) + left; }
};
struct Into : raster::RowSink {
    Surface &s;
    bool direct;
    Into(Surface &surface, bool writesDirectly) : s(surface), direct(writesDirectly) {}
    void Put(int32_t y, int32_t x0, const Pixel *row, int32_t n) override
    {
        for (int32_t i = 0; i < n; ++i) s.Row(y)[x0 + i] = row[i] & 0xFFFFFF;
    }
    Pixel *Direct(int32_t y, int32_t x0) override { return direct ? s.Row(y) + x0 : nullptr; }
};

// StretchBlt's layout of a transfer onto dst from src, run by Transfer (or the plain
// TransferReference); false when nothing is drawn.
bool Stretch(Surface &dst, const Surface &src, const int64_t (&c)[8], int mode, bool reference = false,
             bool direct = false)
{
    raster::Axis ax = raster::StartAxis(c[0], c[2], dst.width, c[4], c[6], src.width);
    raster::Axis ay = raster::StartAxis(c[1], c[3], dst.height, c[5], c[7], src.height);
    const bool stretching = c[6] != c[2] || c[7] != c[3];
    if (!raster::FitAxis(ax, stretching) || !raster::FitAxis(ay, stretching)) return false;
    const raster::AxisMap xs = stretching ? raster::MapAxis(ax, c[6]) : raster::MapCopy(ax);
    const raster::AxisMap ys = stretching ? raster::MapAxis(ay, c[7]) : raster::MapCopy(ay);
    SourceOf rows(src);
    rows.left = 0;
    Into into(dst, direct);
    (reference ? raster::TransferReference : raster::Transfer)(xs, ys, rows, mode, into);
    return xs.Size() && ys.Size();
}

} // namespace

TEST(Stretch, ShrinkingMergesByTheMode)
{
    Surface src(4, 2);
    src.pixels = {0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF};
    Surface dst(2, 1, 0x777777);
    const int64_t shrink[8] = {0, 0, 2, 1, 0, 0, 4, 2};
    Stretch(dst, src, shrink, raster::kBlackOnWhite);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0, 0}));
    Stretch(dst, src, shrink, raster::kWhiteOnBlack);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0xFFFFFF, 0xFFFFFF}));
    // COLORONCOLOR keeps the last pixel of a group across and the first row down.
    Stretch(dst, src, shrink, raster::kColorOnColor);
    EXPECT_EQ(dst.pixels, (std::vector<Pixel>{0x00FF00, 0x00FF00}));
}

// The row-by-row transfer (column map, rows made once, copies written in place) must equal
// the plain per-pixel one for every layout and mode.
TEST(Stretch, FastTransferEqualsThePlainOne)
{
    std::mt19937 rng(20261207);
    auto pick = [&](int lo, int hi) { return static_cast<int64_t>(lo + static_cast<int>(rng() % (hi - lo + 1))); };
    for (int iter = 0; iter < 3000; ++iter) {
        Surface src(static_cast<int32_t>(pick(1, 12)), static_cast<int32_t>(pick(1, 12)));
        for (Pixel &p : src.pixels) p = rng();
        Surface a(20, 16, kBackground), b(20, 16, kBackground);
        const int64_t c[8] = {pick(-4, 24), pick(-4, 20), pick(-24, 24), pick(-24, 24),
                              pick(-3, 14), pick(-3, 14), pick(-14, 14), pick(-14, 14)};
        const int mode = static_cast<int>(pick(1, 4));
        Stretch(a, src, c, mode, false, iter % 2 == 0); // rows written in place, or handed over
        Stretch(b, src, c, mode, true);
        ASSERT_EQ(a.pixels, b.pixels) << "iteration " << iter << ", mode " << mode;
    }
}

// The four masks the transfers apply must give what the plain minterm sum gives.
TEST(Blit, RopMasksEqualTheRopItself)
{
    std::mt19937 rng(7);
    for (int code = 0; code < 256; ++code)
        for (int i = 0; i < 20; ++i) {
            const uint32_t p = rng() & 0xFFFFFF, s = rng(), d = rng() & 0xFFFFFF;
            ASSERT_EQ(raster::MasksFor(static_cast<uint8_t>(code), p)(s, d), raster::Rop3(static_cast<uint8_t>(code), p, s & 0xFFFFFF, d))
                << "code " << code;
        }
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
