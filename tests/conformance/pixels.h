// pixels.h - an RGB image as the conformance tools pass it around: one 0x00RRGGBB value a
// pixel, row 0 at the top, rows tightly packed.
#ifndef QG_CONFORMANCE_PIXELS_H
#define QG_CONFORMANCE_PIXELS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scene {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;

    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

} // namespace scene

#endif // QG_CONFORMANCE_PIXELS_H
