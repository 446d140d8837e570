// instance.cpp - FreeType at one pixel size, computing what GDI computes: metrics from the
// font's Windows tables, advances from hinted outlines, and aliased glyphs rasterised from
// outlines hinted for monochrome, the classic look of GDI text without smoothing.
#include "instance.h"

#include FT_TRUETYPE_TABLES_H
#include FT_OUTLINE_H
#include FT_BITMAP_H

#include <algorithm>
#include <cstdlib>

namespace standin::font {

class Library {
public:
    Library() { ok_ = FT_Init_FreeType(&library_) == 0; }
    ~Library()
    {
        if (ok_) FT_Done_FreeType(library_);
    }
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    bool Ok() const { return ok_; }
    FT_Library Get() const { return library_; }

private:
    FT_Library library_ = nullptr;
    bool ok_ = false;
};

namespace {

constexpr long kMaxPpem = (1 << 16) - 1;
// A glyph bigger than this (in pixels) is laid out but not drawn: a LOGFONT height in
// the tens of thousands must not make one character cost gigabytes.
constexpr long long kMaxGlyphPixels = 1LL << 26;

// Pitch and family bits of TEXTMETRIC.
constexpr BYTE kTmpfFixedPitch = 0x01; // set for *variable* pitch, as GDI has it
constexpr BYTE kTmpfVector = 0x02;
constexpr BYTE kTmpfTrueType = 0x04;

// PANOSE indices and values GDI derives the family from.
enum { kPanFamily = 0, kPanSerifStyle = 1, kPanProportion = 3 };
enum { kPanFamilyScript = 3, kPanFamilyDecorative = 4, kPanPropMonospaced = 9 };

std::shared_ptr<Library> SharedLibrary()
{
    static std::weak_ptr<Library> shared;
    std::shared_ptr<Library> library = shared.lock();
    if (!library) {
        library = std::make_shared<Library>();
        if (!library->Ok()) return nullptr;
        shared = library;
    }
    return library;
}

// Some fonts store a negative descent in the unsigned field.
FT_Long WinDescent(const TT_OS2 *os2) { return std::abs(static_cast<FT_Short>(os2->usWinDescent)); }

BYTE PitchAndFamily(FT_Face face, const TT_OS2 *os2)
{
    BYTE bits = 0;
    if (!FT_IS_FIXED_WIDTH(face) &&
        (os2->version == 0xFFFF || os2->panose[kPanProportion] != kPanPropMonospaced))
        bits = kTmpfFixedPitch;
    switch (os2->panose[kPanFamily]) {
    case kPanFamilyScript: bits |= FF_SCRIPT; break;
    case kPanFamilyDecorative: bits |= FF_DECORATIVE; break;
    default:
        if (bits == 0 || os2->panose[kPanProportion] == kPanPropMonospaced) {
            bits = FF_MODERN;
        } else {
            const BYTE serif = os2->panose[kPanSerifStyle];
            if (serif >= 2 && serif <= 10) bits |= FF_ROMAN;       // cove .. triangle
            else if (serif >= 11 && serif <= 15) bits |= FF_SWISS; // sans .. rounded
        }
    }
    if (FT_IS_SCALABLE(face)) bits |= kTmpfVector;
    if (FT_IS_SFNT(face)) bits |= kTmpfTrueType;
    return bits;
}

// Rounds a 26.6 box outwards to whole pixels.
struct Box {
    FT_Pos xMin, yMin, xMax, yMax;
};

Box PixelBox(const FT_Glyph_Metrics &m, const FT_Matrix *slant)
{
    if (!slant) {
        return Box{m.horiBearingX & -64, (m.horiBearingY - m.height) & -64,
                   (m.horiBearingX + m.width + 63) & -64, (m.horiBearingY + 63) & -64};
    }
    Box box{0, 0, 0, 0};
    for (int xc = 0; xc < 2; ++xc) {
        for (int yc = 0; yc < 2; ++yc) {
            FT_Vector v{m.horiBearingX + xc * m.width, m.horiBearingY - yc * m.height};
            FT_Vector_Transform(&v, slant);
            if (xc == 0 && yc == 0) {
                box = Box{v.x, v.y, v.x, v.y};
            } else {
                box.xMin = std::min(box.xMin, v.x);
                box.xMax = std::max(box.xMax, v.x);
                box.yMin = std::min(box.yMin, v.y);
                box.yMax = std::max(box.yMax, v.y);
            }
        }
    }
    return Box{box.xMin & -64, box.yMin & -64, (box.xMax + 63) & -64, (box.yMax + 63) & -64};
}

// The shear GDI applies to an upright face asked to be italic: x += y / 4.
constexpr FT_Matrix kSlant{1 << 16, (1 << 16) >> 2, 0, 1 << 16};

} // namespace

namespace {

long PpemForHeight(FT_Face face, LONG height)
{
    const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (height == 0) height = 16;
    if (height < 0) return height >= -kMaxPpem ? -static_cast<long>(height) : 1;

    FT_Long units = 0;
    if (os2 && os2->usWinAscent + WinDescent(os2) != 0) units = os2->usWinAscent + WinDescent(os2);
    else if (hhea) units = hhea->Ascender - hhea->Descender;
    if (units <= 0) units = face->units_per_EM;

    long ppem = FT_MulDiv(face->units_per_EM, height, units);
    // Rounding must not make the cell taller than asked.
    if (ppem > 1 && FT_MulDiv(units, ppem, face->units_per_EM) > height) --ppem;
    if (ppem > kMaxPpem) ppem = 1;
    return std::max(ppem, 1L);
}

} // namespace

long PpemFor(const FaceChoice &choice, LONG height)
{
    std::shared_ptr<Library> library = SharedLibrary();
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library->Get(), choice.file.c_str(), choice.index, &face) != 0) return 0;
    const long ppem = PpemForHeight(face, height);
    FT_Done_Face(face);
    return ppem;
}

std::shared_ptr<Instance> Instance::Open(const FaceChoice &choice, long ppem)
{
    std::shared_ptr<Library> library = SharedLibrary();
    if (!library) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library->Get(), choice.file.c_str(), choice.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::shared_ptr<Instance>(new Instance(std::move(library), face, choice, ppem));
}

Instance::Instance(std::shared_ptr<Library> library, FT_Face face, const FaceChoice &choice, long ppem)
    : library_(std::move(library)), face_(face), choice_(choice), ppem_(ppem)
{
    FT_Select_Charmap(face_, FT_ENCODING_UNICODE);
    for (int byte = 0; byte < 256; ++byte)
        glyphIndex_[byte] = FT_Get_Char_Index(face_, FromWindows1252(static_cast<unsigned char>(byte)));
    ComputeMetrics();
}

Instance::~Instance() { FT_Done_Face(face_); }

void Instance::ComputeMetrics()
{
    const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    const auto *post = static_cast<const TT_Postscript *>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST));
    const FT_Fixed em = FT_MulDiv(ppem_, 1 << 16, face_->units_per_EM);
    auto scale = [em](FT_Long v) { return static_cast<int>(FT_MulFix(v, em)); };

    FT_Long ascent = face_->ascender, descent = -face_->descender;
    if (os2 && os2->usWinAscent + WinDescent(os2) != 0) {
        ascent = os2->usWinAscent;
        descent = WinDescent(os2);
    } else if (hhea) {
        ascent = hhea->Ascender;
        descent = -hhea->Descender;
    }
    Metrics &m = metrics_;
    m.ascent = scale(ascent);
    m.descent = scale(descent);
    m.height = m.ascent + m.descent;
    m.internalLeading = scale(ascent + descent - face_->units_per_EM);
    if (hhea) {
        m.externalLeading =
            std::max(0, scale(hhea->Line_Gap - ((ascent + descent) - (hhea->Ascender - hhea->Descender))));
    }
    m.aveCharWidth = std::max(1, os2 ? scale(os2->xAvgCharWidth) : 0);
    m.maxCharWidth = scale(face_->bbox.xMax - face_->bbox.xMin);

    const bool faceBold = (face_->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    const int weightClass = os2 ? os2->usWeightClass : (faceBold ? FW_BOLD : FW_NORMAL);
    m.weight = FW_NORMAL;
    if (choice_.syntheticBold) m.weight = FW_BOLD;
    else if (faceBold ? weightClass > 500 : weightClass <= 500) m.weight = weightClass;
    m.italic = choice_.syntheticItalic || (face_->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    m.charSet = ANSI_CHARSET;
    m.pitchAndFamily = os2 ? PitchAndFamily(face_, os2) : kTmpfVector | kTmpfTrueType;
    fixedPitch_ = (m.pitchAndFamily & kTmpfFixedPitch) == 0;

    // Lines are placed by their distance above the baseline and drawn down from half
    // their thickness above it; a thickness that scales to 0 still draws one row.
    auto line = [&](FT_Long position, FT_Long thickness) {
        const int width = std::max(1, std::abs(scale(thickness)));
        return TextLine{-(scale(position) + width / 2), width};
    };
    underline_ = post ? line(post->underlinePosition, post->underlineThickness) : line(0, 0);
    strikeOut_ = os2 ? line(os2->yStrikeoutPosition, os2->yStrikeoutSize) : line(0, 0);
}

bool Instance::LoadGlyph(FT_UInt index, FT_Int32 flags)
{
    if (FT_Load_Glyph(face_, index, flags) == 0) return true;
    // A glyph whose hinting program fails is still shown, unhinted.
    return !(flags & FT_LOAD_NO_HINTING) && FT_Load_Glyph(face_, index, flags | FT_LOAD_NO_HINTING) == 0;
}

int Instance::AdvanceFromBase(FT_Pos base) const
{
    FT_Pos advance = base;
    if (fixedPitch_) {
        // In a fixed-pitch face a full-width character is exactly two average widths.
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        if (os2) {
            const FT_Fixed em = FT_MulDiv(ppem_, 1 << 16, face_->units_per_EM);
            const FT_Long average = FT_MulFix(os2->xAvgCharWidth, em);
            if (average > 0 && (base + 63) >> 6 == FT_MulFix(os2->xAvgCharWidth * 2, em))
                advance = (average * 2) << 6;
        }
    }
    if (choice_.syntheticBold) advance += 1 << 6;
    return static_cast<int>(((advance + 63) & -64) >> 6);
}

int Instance::ExtentAdvance(unsigned char byte)
{
    if (!extentKnown_[byte]) {
        // Extents come from outlines hinted for grey rendering, as GDI measures them even
        // for aliased text; the drawn glyphs may advance differently by a pixel.
        int advance = 0;
        if (LoadGlyph(glyphIndex_[byte], FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_NO_BITMAP))
            advance = AdvanceFromBase(face_->glyph->metrics.horiAdvance);
        extentAdvance_[byte] = advance;
        extentKnown_[byte] = true;
    }
    return extentAdvance_[byte];
}

const Glyph &Instance::DrawGlyph(unsigned char byte)
{
    if (!byByte_[byte]) {
        const FT_UInt index = glyphIndex_[byte];
        auto found = glyphs_.find(index);
        if (found == glyphs_.end()) found = glyphs_.emplace(index, Rasterise(index)).first;
        byByte_[byte] = &found->second;
    }
    return *byByte_[byte];
}

Glyph Instance::Rasterise(FT_UInt index)
{
    Glyph glyph;
    const FT_Matrix *slant = choice_.syntheticItalic ? &kSlant : nullptr;
    FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_TARGET_MONO;
    if (slant) flags |= FT_LOAD_NO_BITMAP;
    if (!LoadGlyph(index, flags)) return glyph;
    FT_GlyphSlot slot = face_->glyph;
    FT_Glyph_Metrics m = slot->metrics;
    glyph.advance = AdvanceFromBase(m.horiAdvance);

    if (choice_.syntheticBold) {
        bool emboldened = false;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE &&
            FT_Outline_Embolden(&slot->outline, FT_MulDiv(ppem_, 1 << 6, 24)) == 0) {
            FT_BBox cbox;
            FT_Outline_Get_CBox(&slot->outline, &cbox);
            m.width = cbox.xMax - cbox.xMin;
            m.height = cbox.yMax - cbox.yMin;
            m.horiBearingX = cbox.xMin;
            m.horiBearingY = cbox.yMax;
            emboldened = true;
        }
        if (!emboldened && m.width) m.width += 1 << 6;
    }
    // Ink beyond the font's ascent or descent is cut off, as GDI clips it to the cell.
    const FT_Pos top = std::min<FT_Pos>(m.horiBearingY, static_cast<FT_Pos>(metrics_.ascent) << 6);
    const FT_Pos bottom = std::max<FT_Pos>(m.horiBearingY - m.height, -(static_cast<FT_Pos>(metrics_.descent) << 6));
    m.horiBearingY = top;
    m.height = std::max<FT_Pos>(0, top - bottom);

    const Box box = PixelBox(m, slant);
    glyph.originX = static_cast<int>(box.xMin >> 6);
    glyph.originY = static_cast<int>(box.yMax >> 6);
    const long long width = (box.xMax - box.xMin) >> 6;
    const long long height = (box.yMax - box.yMin) >> 6;
    if (width <= 0 || height <= 0 || width * height > kMaxGlyphPixels) return glyph;
    glyph.width = static_cast<int>(width);
    glyph.height = static_cast<int>(height);

    const int pitch = static_cast<int>(((width + 31) >> 5) << 2);
    std::vector<unsigned char> bits(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (slant) FT_Outline_Transform(&slot->outline, slant);
        FT_Outline_Translate(&slot->outline, -box.xMin, -box.yMin);
        FT_Bitmap target;
        FT_Bitmap_Init(&target);
        target.width = static_cast<unsigned>(width);
        target.rows = static_cast<unsigned>(height);
        target.pitch = pitch;
        target.pixel_mode = FT_PIXEL_MODE_MONO;
        target.buffer = bits.data();
        FT_Outline_Get_Bitmap(library_->Get(), &slot->outline, &target);
    } else if (slot->format == FT_GLYPH_FORMAT_BITMAP && slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        const int rows = std::min<int>(static_cast<int>(height), static_cast<int>(slot->bitmap.rows));
        const int bytes = std::min<int>(pitch, static_cast<int>((slot->bitmap.width + 7) >> 3));
        for (int y = 0; y < rows; ++y)
            std::copy_n(slot->bitmap.buffer + y * slot->bitmap.pitch, bytes, bits.data() + y * pitch);
    } else {
        return glyph;
    }

    glyph.pitch = pitch;
    glyph.bits = std::move(bits);
    ++rasterised_;
    return glyph;
}

} // namespace standin::font
