// image.h - PNG reading and writing and exact comparison for the conformance test.
#ifndef QG_CONFORMANCE_IMAGE_H
#define QG_CONFORMANCE_IMAGE_H

#include "pixels.h"

#include <string>

namespace scene {

// Reads an 8-bit RGB or RGBA PNG (alpha ignored). False, with a reason, on any failure.
bool ReadPng(const std::string &path, Pixels &out, std::string &error);
bool WritePng(const std::string &path, const Pixels &image, std::string &error);

struct Difference {
    long count = 0;          // pixels whose RGB differ; every pixel when the sizes differ
    int firstX = -1, firstY = -1;
    bool sizesDiffer = false;
};

Difference Compare(const Pixels &actual, const Pixels &expected);

// Pixels that match are shown dimmed grey; differing ones bright red (actual darker than
// expected) or bright green (lighter or equal in sum), so both kinds of fault stand out.
Pixels DiffImage(const Pixels &actual, const Pixels &expected);

} // namespace scene

#endif // QG_CONFORMANCE_IMAGE_H
