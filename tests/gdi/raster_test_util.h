// raster_test_util.h - small helpers for rasterizer tests: a marked surface, ASCII
// pictures of what changed, and draw states.
#ifndef TESTS_GDI_RASTER_TEST_UTIL_H
#define TESTS_GDI_RASTER_TEST_UTIL_H

#include "gdi/raster/types.h"

#include <string>
#include <vector>

namespace rastertest {

using standin::gdi::Pixel;
using standin::gdi::Surface;
namespace raster = standin::gdi::raster;

constexpr Pixel kBackground = 0x336699; // never a pen or brush colour in these tests
constexpr Pixel kPen = 0x000000;
constexpr Pixel kBrush = 0x808080;

inline Surface Blank(int w = 24, int h = 16) { return Surface(w, h, kBackground); }

// '.' untouched, '#' pen colour, 'o' brush colour, '?' anything else; one string per row.
inline std::vector<std::string> Picture(const Surface &s, int x0, int y0, int x1, int y1)
{
    std::vector<std::string> rows;
    for (int y = y0; y < y1; ++y) {
        std::string row;
        for (int x = x0; x < x1; ++x) {
            const Pixel p = s.Row(y)[x];
            row += p == kBackground ? '.' : p == kPen ? '#' : p == kBrush ? 'o' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

inline raster::DrawState State(int penWidth = 1, bool brush = true,
                               raster::PenKind kind = raster::PenKind::Solid)
{
    raster::DrawState st;
    st.pen.kind = kind;
    st.pen.width = penWidth;
    st.pen.color = kPen;
    st.brush.null = !brush;
    st.brush.color = kBrush;
    return st;
}

// Pixels that differ from the background, as (x, y) pairs in row-major order.
inline std::vector<std::pair<int, int>> Touched(const Surface &s)
{
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.Row(y)[x] != kBackground) out.push_back({x, y});
    return out;
}

} // namespace rastertest

#endif // TESTS_GDI_RASTER_TEST_UTIL_H
