// jpeg.h - the image module's own pieces: the JPEG reader, the turn of decoded samples
// into the 32-bit pixel layout, and buffer sizes that cannot overflow.
#ifndef QUILLGRAPH_IMAGES_JPEG_H
#define QUILLGRAPH_IMAGES_JPEG_H

#include <cstddef>

namespace qg::images {

// How the decoder hands out a pixel. Only default decoding parameters are used, so the
// layout follows the file: grayscale files give one sample, colour files red, green and
// blue, CMYK and YCCK files four ink samples.
enum class SampleLayout {
    Gray,         // one sample, the gray level
    Rgb,          // red, green, blue
    Cmyk,         // cyan, magenta, yellow, black; 0 = no ink
    InvertedCmyk, // the same, stored inverted (255 = no ink), as files with an Adobe marker do
    Unknown,      // some other count of components; the first one is shown as gray
};

struct Samples {
    unsigned char *bytes = nullptr; // owned by the caller (delete[]); rows unpadded, top first
    unsigned components = 0;        // samples a pixel
    SampleLayout layout = SampleLayout::Rgb;
};

// Decodes the named file. 0 on success, -1 when the file cannot be opened (nor can a
// folder), -2 when the sample buffer cannot be allocated (the decoder and the file are
// closed before that return). A fatal decoder error ends the process through the
// standard error manager.
int ReadJpeg(const char *name, unsigned short &width, unsigned short &height, Samples &samples);

// Writes count pixels as blue, green, red, 0, reading exactly count * components samples.
void SamplesToPixels(const Samples &samples, std::size_t count, unsigned char *pixels);

// width * height * bytesPerPixel, if an allocation of that size can be asked for at all.
bool BufferSize(std::size_t width, std::size_t height, std::size_t bytesPerPixel,
                std::size_t &bytes);

// A buffer from the free store, or null when there is none; never throws.
unsigned char *AllocateBytes(std::size_t bytes);

} // namespace qg::images

#endif // QUILLGRAPH_IMAGES_JPEG_H
