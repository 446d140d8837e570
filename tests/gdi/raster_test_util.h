// raster_test_util.h - a draw state for the rasterizer tests.
#ifndef TESTS_GDI_RASTER_TEST_UTIL_H
#define TESTS_GDI_RASTER_TEST_UTIL_H

#include "gdi/raster/types.h"

namespace rastertest {

using standin::gdi::Pixel;
using standin::gdi::Surface;
namespace raster = standin::gdi::raster;

constexpr Pixel kPen = 0x000000;
constexpr Pixel kBrush = 0x808080;

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

} // namespace rastertest

#endif // TESTS_GDI_RASTER_TEST_UTIL_H
