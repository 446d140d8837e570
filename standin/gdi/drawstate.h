// drawstate.h - what a DC hands the rasterizer: its target surface and its pen, brush
// and modes turned into a raster::DrawState, with colours as the target stores them.
#ifndef STANDIN_GDI_DRAWSTATE_H
#define STANDIN_GDI_DRAWSTATE_H

#include "gdi/dc.h"
#include "gdi/raster/types.h"

namespace standin::gdi {

// True when the DC draws into a one-bit (monochrome) bitmap.
bool IsMonochrome(DC &dc);

// The pixel a colour becomes on the DC's target. Monochrome targets keep black and white
// as they are; any other colour becomes the background colour's nearest of the two when
// it equals the background colour, and the other one when not (GDI's rule, so that
// drawn figures stand out from the background). Without the fixup (SetPixel) a colour
// simply becomes the nearer of black and white.
Pixel TargetPixel(DC &dc, COLORREF color, bool monoFixup = true);

// Pen, brush, mix mode, fill mode and arc direction of the DC.
raster::DrawState DrawStateOf(DC &dc);

// Tells the window system that the box (any coordinates, grown by `margin`) may have
// changed.
void NoteDrawnBox(DC &dc, int64_t l, int64_t t, int64_t r, int64_t b, int64_t margin);

} // namespace standin::gdi

#endif // STANDIN_GDI_DRAWSTATE_H
