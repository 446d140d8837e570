// jpeg.h - JPEG files made on the spot with libjpeg's compressor in every layout the
// decoder reads, and a plain decode of them to compare with. No test framework here, so
// fuzz targets can use it too.
#ifndef QG_TESTS_SUPPORT_JPEG_H
#define QG_TESTS_SUPPORT_JPEG_H

#include <cstdint>
#include <string>
#include <vector>

#include <jpeglib.h>

using Bytes = std::vector<uint8_t>;

// Samples given as, and stored in the file as: Rgb RGB/RGB, YCbCr RGB/YCbCr, Gray
// gray/gray, Cmyk CMYK/CMYK, Ycck CMYK/YCCK, Other `components` unnamed ones as they are.
enum class Layout { Rgb, YCbCr, Gray, Cmyk, Ycck, Other };

struct JpegRecipe {
    int width = 8;
    int height = 8;
    Layout layout = Layout::YCbCr;
    int components = 0; // Other only: how many
    int quality = 75;
    // Sampling factors of the first component (the others stay 1 x 1).
    int hSampling = 2;
    int vSampling = 2;
    bool progressive = false;
    bool arithmetic = false;
    bool optimize = false;
    bool jfif = true;
    bool adobe = true;           // the transform marker libjpeg writes for RGB, CMYK and YCCK
    bool componentScans = false; // one scan a component instead of one interleaved scan
    int restartRows = 0;         // restart markers every so many MCU rows
    std::string comment;         // a COM marker
    Bytes app1;                  // an APP1 marker's bytes
    // Packed samples, width * height * components; empty: a red F on blue (grayscale and
    // ink layouts get the same shape in their own terms), so flips and swaps show.
    Bytes samples;
};

Bytes EncodeJpeg(const JpegRecipe &recipe);

// The file decoded by libjpeg directly into outputSpace; empty if it cannot be read.
Bytes DecodeReference(const Bytes &file, J_COLOR_SPACE outputSpace, int *components);

// 48 x 64: red blocks of 8 x 8 in an F on blue, exact at quality 100.
JpegRecipe LetterF();
bool InLetterF(int blockX, int blockY);
// Flat 8 x 8 blocks of the given colours, left to right, exact at quality 100.
JpegRecipe FlatBlocks(Layout layout, const std::vector<Bytes> &colours);
// A smooth RGB gradient of any size, stored as subsampled YCbCr at quality 85.
JpegRecipe Gradient(int width, int height);

#endif // QG_TESTS_SUPPORT_JPEG_H
