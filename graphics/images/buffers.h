// buffers.h - the two owned parts of an image, made ready before the old ones are let go,
// so that an allocation failure leaves an image as it was.
#ifndef QUILLGRAPH_IMAGES_BUFFERS_H
#define QUILLGRAPH_IMAGES_BUFFERS_H

#include "../graphics.h"

#include <memory>

namespace qg::images {

// A zeroed header with the fixed fields set, describing width x height pixels top-down.
// Throws ERROR_OUT_OF_MEMORY.
std::unique_ptr<BITMAPINFOHEADER> NewHeader(unsigned short width, unsigned short height);

// Room for width x height 32-bit pixels, contents undefined. Throws ERROR_OUT_OF_MEMORY.
std::unique_ptr<unsigned char[]> NewPixels(unsigned short width, unsigned short height);

} // namespace qg::images

#endif // QUILLGRAPH_IMAGES_BUFFERS_H
