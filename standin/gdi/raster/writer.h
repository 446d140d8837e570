// writer.h - the only code that writes figure pixels: runs of one row, spans and boxes,
// each combined with the destination through a ROP2 mix.
#ifndef STANDIN_GDI_RASTER_WRITER_H
#define STANDIN_GDI_RASTER_WRITER_H

#include "spans.h"

namespace standin::gdi::raster {

// Writes pixels [x0, x1) of row y, which must lie inside the surface.
void WriteRun(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix);
// The plain per-pixel version the fast one is checked against.
void WriteRunReference(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix);

void WriteSpans(Surface &s, SpanSet &spans, Mix mix);
// Writes a box, cut to the surface.
void WriteBox(Surface &s, const Box &box, Mix mix);
// Sets one pixel if it is on the surface.
void WritePixel(Surface &s, int64_t x, int64_t y, Mix mix);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_WRITER_H
