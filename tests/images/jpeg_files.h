// jpeg_files.h - test pictures made on the spot with libjpeg's compressor, a plain reference
// decode to compare with, and a scratch folder for the files.
#ifndef QG_TESTS_IMAGES_JPEG_FILES_H
#define QG_TESTS_IMAGES_JPEG_FILES_H

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

using Bytes = std::vector<unsigned char>;

// What to compress: packed samples of inputSpace, stored in the file as fileSpace.
struct JpegRecipe {
    int width = 0;
    int height = 0;
    J_COLOR_SPACE inputSpace = JCS_RGB;
    int components = 3;
    J_COLOR_SPACE fileSpace = JCS_RGB; // JCS_RGB keeps flat colours exact at quality 100
    int quality = 100;
    bool progressive = false;
    bool arithmetic = false;
    bool adobeMarker = true; // libjpeg writes one for RGB, CMYK and YCCK files
    Bytes samples; // width * height * components
};

Bytes EncodeJpeg(const JpegRecipe &recipe);

// Decodes the bytes with libjpeg directly, all rows at once, into outputSpace.
Bytes DecodeReference(const Bytes &file, J_COLOR_SPACE outputSpace, int *components);

// A blue picture with a red capital F drawn in 8 x 8 blocks: 6 x 8 blocks, 48 x 64 pixels,
// so that a flipped row order, a mirrored row or swapped channels all show.
JpegRecipe LetterF();
// Whether block (bx, by) of LetterF is part of the letter.
bool InLetterF(int bx, int by);

// Flat 8 x 8 blocks of the given colours, left to right: exact through quality 100.
JpegRecipe FlatBlocks(J_COLOR_SPACE space, int components, const std::vector<Bytes> &colours);

// A smooth gradient of any size, in RGB, stored as YCbCr with chroma subsampling.
JpegRecipe Gradient(int width, int height);

// A folder of its own for one test's files; removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string Write(const std::string &name, const Bytes &bytes) const;
    std::string Path(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

#endif // QG_TESTS_IMAGES_JPEG_FILES_H
