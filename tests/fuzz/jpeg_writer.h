// jpeg_writer.h - small JPEG files made with libjpeg's compressor in every layout the
// decoder reads: the seed corpus of the JPEG fuzz target, and the picture the window
// fuzz target draws.
#ifndef QUILLGRAPH_FUZZ_JPEG_WRITER_H
#define QUILLGRAPH_FUZZ_JPEG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace qgfuzz {

using Bytes = std::vector<uint8_t>;

enum class Layout { Rgb, YCbCr, Gray, Cmyk, Ycck };

struct JpegRecipe {
    int width = 8;
    int height = 8;
    Layout layout = Layout::YCbCr;
    int quality = 75;
    // Sampling factors of the first component (the others stay 1 x 1), as h and v.
    int hSampling = 2;
    int vSampling = 2;
    bool progressive = false;
    bool arithmetic = false;
    bool optimize = false;
    bool jfif = true;
    bool adobe = true;         // the transform marker libjpeg writes for RGB, CMYK and YCCK
    bool componentScans = false; // one scan a component instead of one interleaved scan
    int restartRows = 0;       // restart markers every so many MCU rows
    std::string comment;       // a COM marker
    Bytes app1;                // an APP1 marker's bytes
};

// A picture of the recipe: a letter F in red on blue, so flipped rows or swapped channels
// would show; grayscale and ink layouts get the same shape in their own terms.
Bytes EncodeJpeg(const JpegRecipe &recipe);

} // namespace qgfuzz

#endif // QUILLGRAPH_FUZZ_JPEG_WRITER_H
