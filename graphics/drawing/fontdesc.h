// fontdesc.h - how SetFont's arguments become the LOGFONT it hands to GDI.
#ifndef QUILLGRAPH_FONTDESC_H
#define QUILLGRAPH_FONTDESC_H

#include "../graphics.h"

// A LOGFONT with every byte zero but what size, style (fontstyle bits), family and face
// give. A face longer than 31 characters is cut to 31, as CreateFontA does.
LOGFONTA DescribeFont(int size, int style, int family, const char *face);

#endif // QUILLGRAPH_FONTDESC_H
