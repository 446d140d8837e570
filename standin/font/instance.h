// instance.h - one face file at one pixel size: its FreeType face, its GDI metrics and
// the glyphs rasterised so far. Private to standin/font.
#ifndef STANDIN_FONT_INSTANCE_H
#define STANDIN_FONT_INSTANCE_H

#include "face.h"
#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace standin::font {

class Library; // the process's FreeType library

// A glyph as the text is laid out with it: its ink box relative to the pen position on
// the baseline (x right, y up, as GDI's glyph origin), the pen advance, and its pixels.
struct Glyph {
    int originX = 0;       // left edge of the box, from the pen
    int originY = 0;       // top edge of the box, above the baseline
    int width = 0;
    int height = 0;
    int advance = 0;       // pen advance in whole pixels
    int pitch = 0;         // bytes a row of bits
    // height rows of pitch bytes, a bit a pixel, leftmost in the high bit, 1 = ink; empty
    // for blank glyphs. Kept packed: a glyph of a huge font costs an eighth of a byte a pixel.
    std::vector<uint8_t> bits;
    bool Ink(long long x, long long y) const
    {
        return (bits[static_cast<size_t>(y * pitch + (x >> 3))] >> (7 - (x & 7))) & 1;
    }
};

class Instance {
public:
    // Opens `choice` at `ppem` pixels per em; null when FreeType cannot load it.
    static std::shared_ptr<Instance> Open(const FaceChoice &choice, long ppem);
    ~Instance();
    Instance(const Instance &) = delete;
    Instance &operator=(const Instance &) = delete;

    const FaceChoice &Choice() const { return choice_; }
    long Ppem() const { return ppem_; }
    const Metrics &BaseMetrics() const { return metrics_; }
    TextLine Underline() const { return underline_; }
    TextLine StrikeOut() const { return strikeOut_; }

    // Advance of a character as text extents count it.
    int ExtentAdvance(unsigned char byte);
    // The glyph TextOut draws for a character (rasterised on first use).
    const Glyph &DrawGlyph(unsigned char byte);
    size_t RasterisedGlyphs() const { return rasterised_; }

private:
    Instance(std::shared_ptr<Library> library, FT_Face face, const FaceChoice &choice, long ppem);
    void ComputeMetrics();
    bool LoadGlyph(FT_UInt index, FT_Int32 flags);
    int AdvanceFromBase(FT_Pos base) const;
    Glyph Rasterise(FT_UInt index);

    std::shared_ptr<Library> library_;
    FT_Face face_;
    FaceChoice choice_;
    long ppem_;
    bool fixedPitch_ = false; // GDI's own notion, which the advances depend on
    Metrics metrics_;
    TextLine underline_;
    TextLine strikeOut_;
    std::array<FT_UInt, 256> glyphIndex_{};
    std::array<int, 256> extentAdvance_{};
    std::array<bool, 256> extentKnown_{};
    std::array<const Glyph *, 256> byByte_{};
    std::unordered_map<FT_UInt, Glyph> glyphs_;
    size_t rasterised_ = 0;
};

// GDI's pixels-per-em for a LOGFONT height on a face: a positive height is the cell
// (winAscent + winDescent), a negative one the em; 0 when the file cannot be read.
long PpemFor(const FaceChoice &choice, LONG height);

} // namespace standin::font

#endif // STANDIN_FONT_INSTANCE_H
