// font.h - fonts for the stand-in's GDI: a LOGFONTA becomes a face file (fontconfig) at a
// pixel size (GDI's height rules), with its metrics, text extents and glyph drawing into
// a Surface. FreeType stays behind this header.
#ifndef STANDIN_FONT_FONT_H
#define STANDIN_FONT_FONT_H

#include "../gdi/surface.h"

#include <standin/win32.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace standin::font {

// What GetTextMetrics reports, in pixels.
struct Metrics {
    int height = 0;          // ascent + descent: the cell height
    int ascent = 0;          // cell top to baseline
    int descent = 0;         // baseline to cell bottom
    int internalLeading = 0; // height minus the em height
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 0;          // weight of the face used, FW_BOLD for a synthetic bold
    bool italic = false;
    bool underlined = false;
    bool struckOut = false;
    BYTE pitchAndFamily = 0; // as GDI reports it: bit 0 set means variable pitch
    BYTE charSet = ANSI_CHARSET;
};

// A line under or through the text: rows [offset, offset + thickness) counted from the
// baseline, downwards positive.
struct TextLine {
    int offset = 0;
    int thickness = 0;
};

class Instance; // a face file at one pixel size, with its glyph cache

// A realised font: one LOGFONTA resolved to a face file and pixel size. Immutable to its
// users; the glyphs it draws are rasterised on first use and kept.
//
// Text is drawn aliased, as GDI draws it without font smoothing: every pixel is either
// the text colour or left alone, from outlines hinted for monochrome. Given the same font
// files and FreeType, the pixels are the same on every machine.
class Font {
public:
    Font(std::shared_ptr<Instance> instance, const LOGFONTA &logfont);

    const Metrics &GetMetrics() const { return metrics_; }
    const std::string &FaceFile() const;   // the file the face was loaded from
    const std::string &FamilyName() const; // e.g. "Liberation Sans"
    bool SyntheticBold() const;
    bool SyntheticItalic() const;
    int PixelsPerEm() const;

    // Width and height that GetTextExtentPoint32A reports for `count` bytes of
    // Windows-1252 text: the sum of the advances, and the cell height.
    SIZE Extent(const char *text, size_t count) const;

    // Draws the text with the top-left corner of its cell at (x, y), glyph pixels only,
    // in `color`, clipped to `clip` (the surface when null). Underline and strike-out are
    // drawn when the LOGFONT asked for them. Returns the advance: Extent(...).cx.
    int Draw(gdi::Surface &surface, int x, int y, const char *text, size_t count, COLORREF color,
             const RECT *clip = nullptr) const;

    TextLine Underline() const { return underline_; }
    TextLine StrikeOut() const { return strikeOut_; }

    // How many glyph bitmaps this font's face and size have rasterised so far; the
    // same glyph drawn again does not add to it.
    size_t RasterisedGlyphs() const;

private:
    std::shared_ptr<Instance> instance_;
    Metrics metrics_;
    TextLine underline_;
    TextLine strikeOut_;
    bool wantUnderline_ = false;
    bool wantStrikeOut_ = false;
};

// The realised font for a LOGFONTA, or null when no face file can be found at all.
// Equal LOGFONTs give the same object; fonts that come to the same face and pixel size
// share one glyph cache.
std::shared_ptr<const Font> Realize(const LOGFONTA &logfont);

// Forgets every realised font and face (tests use it to start from a cold cache).
void ClearCache();

// The Unicode character a Windows-1252 byte stands for. The five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows does.
char32_t FromWindows1252(unsigned char byte);

} // namespace standin::font

#endif // STANDIN_FONT_FONT_H
