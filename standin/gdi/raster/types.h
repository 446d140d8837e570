// types.h - the small value types the rasterizer speaks: 64-bit points and boxes (so no
// sum or difference of 32-bit device coordinates can overflow), and the pen/brush/mix
// state a drawing call carries down from its DC.
#ifndef STANDIN_GDI_RASTER_TYPES_H
#define STANDIN_GDI_RASTER_TYPES_H

#include "../surface.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace standin::gdi::raster {

struct Point {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};

// A half-open box [left, right) x [top, bottom).
struct Box {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    bool Empty() const { return left >= right || top >= bottom; }
    Box Intersect(const Box &o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    bool Overlaps(const Box &o) const { return !Intersect(o).Empty(); }
};

inline int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

// Point lists kept from call to call (thread_local at their users) are let go of once a
// call has made them large, so a huge figure's memory does not stay behind.
template <class T> void TrimScratch(std::vector<T> &v)
{
    constexpr size_t kKeptBytes = size_t{1} << 20;
    if (v.capacity() * sizeof(T) > kKeptBytes) std::vector<T>().swap(v);
}

inline Box SurfaceBox(const Surface &s) { return {0, 0, s.width, s.height}; }

// Win32 pen styles the rasterizer knows; dashed cosmetic styles are drawn solid.
enum class PenKind { Solid, InsideFrame, Null };

struct PenState {
    PenKind kind = PenKind::Solid;
    int64_t width = 1; // device pixels, already >= 1 (0 means 1); ignored for Null
    Pixel color = 0;
};

struct BrushState {
    bool null = false;
    Pixel color = 0xFFFFFF;
};

// Everything a figure needs from its DC.
struct DrawState {
    PenState pen;
    BrushState brush;
    int rop2 = 13;         // R2_COPYPEN
    int polyFillMode = 1;  // ALTERNATE
    bool clockwise = false; // arc direction; counter-clockwise is GDI's default
};

// A ROP2 mix reduced to dst = (dst & andMask) ^ xorMask for one source colour. The unused
// top byte is kept zero, so surfaces always hold 0x00RRGGBB.
struct Mix {
    uint32_t andMask = 0;
    uint32_t xorMask = 0;

    bool IsCopy() const { return andMask == 0; }
    bool IsNop() const { return andMask == 0x00FFFFFFu && xorMask == 0; }
};

// Mix for ROP2 code 1..16 and the given pen or brush colour; invalid codes act as R2_NOP.
Mix MixFor(int rop2, Pixel color);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_TYPES_H
