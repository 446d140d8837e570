// font.cpp - realised fonts: the LOGFONT cache, text extents, text drawing into a
// Surface, and the Windows-1252 code page that text bytes are read in.
#include "font.h"

#include "face.h"
#include "instance.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <tuple>

namespace standin::font {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The cache key of a LOGFONT: every field, with the face name cut at its terminator
// (bytes after it mean nothing).
using LogfontKey = std::array<unsigned char, sizeof(LOGFONTA)>;

LogfontKey KeyOf(const LOGFONTA &logfont)
{
    LOGFONTA copy = logfont;
    const size_t length = strnlen(copy.lfFaceName, LF_FACESIZE);
    std::fill(copy.lfFaceName + length, copy.lfFaceName + LF_FACESIZE, '\0');
    LogfontKey key{};
    std::memcpy(key.data(), &copy, sizeof copy);
    return key;
}

using InstanceKey = std::tuple<std::string, int, long, bool, bool>;

// Caches of what has been realised. Entries nobody else holds any more are dropped once
// a cache grows past its bound, so a program cycling through sizes stays small.
struct Caches {
    std::map<LogfontKey, std::shared_ptr<const Font>> fonts;
    std::map<InstanceKey, std::shared_ptr<Instance>> instances;
};
constexpr size_t kCacheBound = 64;

Caches &TheCaches()
{
    static Caches caches;
    return caches;
}

template <typename Map> void Trim(Map &map)
{
    if (map.size() <= kCacheBound) return;
    for (auto it = map.begin(); it != map.end();) {
        if (it->second.use_count() == 1) it = map.erase(it);
        else ++it;
    }
}

} // namespace

char32_t FromWindows1252(unsigned char byte)
{
    if (byte < 0x80 || byte > 0x9F) return byte;
    const char16_t mapped = kHighControls[byte - 0x80];
    return mapped ? mapped : byte;
}

Font::Font(std::shared_ptr<Instance> instance, const LOGFONTA &logfont)
    : instance_(std::move(instance)),
      metrics_(instance_->BaseMetrics()),
      underline_(instance_->Underline()),
      strikeOut_(instance_->StrikeOut()),
      wantUnderline_(logfont.lfUnderline != 0),
      wantStrikeOut_(logfont.lfStrikeOut != 0)
{
    metrics_.underlined = wantUnderline_;
    metrics_.struckOut = wantStrikeOut_;
}

const std::string &Font::FaceFile() const { return instance_->Choice().file; }
const std::string &Font::FamilyName() const { return instance_->Choice().family; }
bool Font::SyntheticBold() const { return instance_->Choice().syntheticBold; }
bool Font::SyntheticItalic() const { return instance_->Choice().syntheticItalic; }
int Font::PixelsPerEm() const { return static_cast<int>(instance_->Ppem()); }
size_t Font::RasterisedGlyphs() const { return instance_->RasterisedGlyphs(); }

SIZE Font::Extent(const char *text, size_t count) const
{
    // Empty text measures 0 by 0, not 0 by the cell height.
    if (!text || count == 0) return SIZE{0, 0};
    long long width = 0;
    for (size_t i = 0; i < count; ++i) width += instance_->ExtentAdvance(static_cast<unsigned char>(text[i]));
    return SIZE{static_cast<LONG>(std::min<long long>(width, INT32_MAX)), metrics_.height};
}

int Font::Draw(gdi::Surface &surface, int x, int y, const char *text, size_t count, COLORREF color,
               const RECT *clip) const
{
    if (!text || count == 0) return 0;
    RECT bounds{0, 0, surface.width, surface.height};
    if (clip) {
        bounds.left = std::max(bounds.left, clip->left);
        bounds.top = std::max(bounds.top, clip->top);
        bounds.right = std::min(bounds.right, clip->right);
        bounds.bottom = std::min(bounds.bottom, clip->bottom);
    }
    const gdi::Pixel ink = gdi::PixelFromColorref(color & 0x00FFFFFFu);
    const long long baseline = static_cast<long long>(y) + metrics_.ascent;

    long long pen = x;
    for (size_t i = 0; i < count; ++i) {
        const Glyph &glyph = instance_->DrawGlyph(static_cast<unsigned char>(text[i]));
        const long long left = pen + glyph.originX;
        const long long top = baseline - glyph.originY;
        pen += glyph.advance;
        if (glyph.bits.empty()) continue;
        const long long y0 = std::max<long long>(top, bounds.top);
        const long long y1 = std::min<long long>(top + glyph.height, bounds.bottom);
        const long long x0 = std::max<long long>(left, bounds.left);
        const long long x1 = std::min<long long>(left + glyph.width, bounds.right);
        for (long long py = y0; py < y1; ++py) {
            gdi::Pixel *row = surface.Row(static_cast<int32_t>(py));
            for (long long px = x0; px < x1; ++px)
                if (glyph.Ink(px - left, py - top)) row[px] = ink;
        }
    }

    const int width = Extent(text, count).cx;
    auto fillLine = [&](TextLine line) {
        const long long y0 = std::max<long long>(baseline + line.offset, bounds.top);
        const long long y1 = std::min<long long>(baseline + line.offset + line.thickness, bounds.bottom);
        const long long x0 = std::max<long long>(x, bounds.left);
        const long long x1 = std::min<long long>(static_cast<long long>(x) + width, bounds.right);
        for (long long py = y0; py < y1; ++py)
            for (long long px = x0; px < x1; ++px) surface.Row(static_cast<int32_t>(py))[px] = ink;
    };
    if (wantUnderline_) fillLine(underline_);
    if (wantStrikeOut_) fillLine(strikeOut_);
    return width;
}

std::shared_ptr<const Font> Realize(const LOGFONTA &logfont)
{
    Caches &caches = TheCaches();
    const LogfontKey key = KeyOf(logfont);
    if (auto found = caches.fonts.find(key); found != caches.fonts.end()) return found->second;

    const std::optional<FaceChoice> choice = ChooseFace(logfont);
    if (!choice) return nullptr;
    const long ppem = PpemFor(*choice, logfont.lfHeight);
    if (ppem <= 0) return nullptr;

    const InstanceKey instanceKey{choice->file, choice->index, ppem, choice->syntheticBold,
                                  choice->syntheticItalic};
    std::shared_ptr<Instance> instance;
    if (auto found = caches.instances.find(instanceKey); found != caches.instances.end()) {
        instance = found->second;
    } else {
        instance = Instance::Open(*choice, ppem);
        if (!instance) return nullptr;
        caches.instances.emplace(instanceKey, instance);
    }
    auto font = std::make_shared<const Font>(std::move(instance), logfont);
    caches.fonts.emplace(key, font);
    Trim(caches.fonts);
    Trim(caches.instances);
    return font;
}

void ClearCache()
{
    Caches &caches = TheCaches();
    caches.fonts.clear();
    caches.instances.clear();
}

} // namespace standin::font
