// The direct drawing paths against the plain general ones, bit for bit: seeded random
// figures in random states on a random background (so a pixel mixed twice shows), drawn
// once each way; and the mix modes against their truth tables.
#include "raster_test_util.h"

#include "gdi/raster/region.h"
#include "gdi/raster/shapes.h"
#include "gdi/raster/writer.h"

#include <gtest/gtest.h>

#include <random>

using namespace rastertest;
using raster::Point;

namespace {

struct Case {
    int kind;
    raster::DrawState st;
    int c[8];
    std::vector<Point> pts;
};

void Draw(Surface &s, const Case &k)
{
    const int *c = k.c;
    switch (k.kind) {
    case 0: raster::DrawLine(s, k.st, {c[0], c[1]}, {c[2], c[3]}); break;
    case 1: raster::DrawRectangle(s, k.st, c[0], c[1], c[2], c[3]); break;
    case 2: raster::DrawEllipse(s, k.st, c[0], c[1], c[2], c[3]); break;
    case 3: raster::DrawRoundRect(s, k.st, c[0], c[1], c[2], c[3], c[4], c[5]); break;
    case 4: raster::DrawArc(s, k.st, raster::ArcKind::Arc, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]); break;
    case 5: raster::DrawArc(s, k.st, raster::ArcKind::Pie, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]); break;
    case 6: raster::DrawArc(s, k.st, raster::ArcKind::Chord, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]); break;
    case 7: raster::DrawPolygon(s, k.st, k.pts); break;
    case 8: raster::DrawPolyline(s, k.st, k.pts); break;
    case 9: raster::DrawPolyBezier(s, k.st, k.pts); break;
    default: raster::InvertRegion(s, raster::Region::Polygon(k.pts, k.st.polyFillMode)); break;
    }
}

Surface DrawBothWays(const Surface &background, const Case &k, bool fast)
{
    Surface s = background;
    raster::SetFastPathsForTesting(fast);
    Draw(s, k);
    raster::SetFastPathsForTesting(true);
    return s;
}

} // namespace

TEST(FastPaths, DrawTheSamePixelsAsTheGeneralWays)
{
    const unsigned seed = 1616;
    std::mt19937 rng(seed);
    auto coord = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
    Surface background(61, 47);
    for (Pixel &p : background.pixels) p = rng() & 0xFFFFFF;
    for (int iter = 0; iter < 3000; ++iter) {
        Case k;
        k.kind = iter % 11;
        // Mostly on the surface, sometimes far off it (the clipped starts of walks).
        const int reach = iter % 7 == 0 ? 100000 : 30;
        for (int &v : k.c) v = coord(-reach, 60 + reach);
        const size_t n = k.kind == 9 ? 3 * static_cast<size_t>(coord(1, 3)) + 1 : static_cast<size_t>(coord(2, 9));
        for (size_t i = 0; i < n; ++i) k.pts.push_back({coord(-reach, 60 + reach), coord(-reach, 46 + reach)});
        k.st = State(coord(1, 7) > 4 ? coord(2, 9) : 1, rng() % 3 != 0,
                     rng() % 5 == 0 ? raster::PenKind::Null : rng() % 2 ? raster::PenKind::InsideFrame
                                                                          : raster::PenKind::Solid);
        k.st.pen.color = rng() & 0xFFFFFF;
        k.st.brush.color = rng() & 0xFFFFFF;
        k.st.rop2 = coord(1, 16);
        k.st.polyFillMode = coord(1, 2);
        k.st.clockwise = rng() % 2 == 0;
        const Surface fast = DrawBothWays(background, k, true), plain = DrawBothWays(background, k, false);
        ASSERT_EQ(fast.pixels, plain.pixels) << "seed " << seed << " case " << iter << " kind " << k.kind
                                             << " pen " << k.st.pen.width << " rop " << k.st.rop2;
    }
}

TEST(FastPaths, LinesOfEverySlopeMatchTheRowRuns)
{
    // Long segments across a larger surface, so that both kinds of runs repeat many times.
    const unsigned seed = 1617;
    std::mt19937 rng(seed);
    Surface background(307, 211);
    for (Pixel &p : background.pixels) p = rng() & 0xFFFFFF;
    for (int iter = 0; iter < 600; ++iter) {
        const int reach = iter % 5 == 0 ? 5000 : 40;
        auto coord = [&](int hi) { return -reach + static_cast<int>(rng() % static_cast<unsigned>(hi + 2 * reach)); };
        Case k{0, State(iter % 4 == 0 ? 2 + static_cast<int>(rng() % 11) : 1),
               {coord(307), coord(211), coord(307), coord(211)}, {}};
        if (iter / 4 % 3 == 1) k.c[3] = k.c[1]; // straight across
        if (iter / 4 % 3 == 2) k.c[2] = k.c[0]; // straight down
        k.st.rop2 = iter % 3 == 0 ? 13 : 1 + static_cast<int>(rng() % 16);
        k.st.pen.color = rng() & 0xFFFFFF;
        const Surface fast = DrawBothWays(background, k, true), plain = DrawBothWays(background, k, false);
        ASSERT_EQ(fast.pixels, plain.pixels) << "seed " << seed << " case " << iter << " from " << k.c[0] << ","
                                             << k.c[1] << " to " << k.c[2] << "," << k.c[3];
    }
}

// The mix mode number less one holds the result for each pen and destination bit pair.
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
