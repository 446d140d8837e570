// text.cpp - GDI's text calls on a DC: background mode, text alignment, TextOutA and
// GetTextExtentPoint32A, with the DC's font realised by standin/font.
#include "gdi/dc.h"

#include "common/trace.h"
#include "font/font.h"

#include <algorithm>
#include <string>

namespace standin::gdi {
namespace {

// The realised font selected into a DC; null only when no face can be found at all.
std::shared_ptr<const font::Font> SelectedFont(const DC &dc)
{
    const Font *selected = FindFont(dc.font);
    return selected ? font::Realize(selected->logfont) : nullptr;
}

// Text as the call log shows it: the counted bytes, not up to a terminator.
std::string Logged(LPCSTR text, int count)
{
    if (!trace::Get().logging || !text) return std::string();
    return std::string(text, static_cast<size_t>(std::max(count, 0)));
}

const char *LoggedText(LPCSTR text, const std::string &logged) { return text ? logged.c_str() : nullptr; }

constexpr UINT kHorizontal = TA_LEFT | TA_RIGHT | TA_CENTER;
constexpr UINT kVertical = TA_TOP | TA_BOTTOM | TA_BASELINE;

} // namespace
} // namespace standin::gdi

using namespace standin;
using namespace standin::gdi;

extern "C" int WINAPI SetBkMode(HDC hdc, int mode)
{
    if (trace::Enter("SetBkMode", hdc, mode)) return 0;
    DC *dc = FindDC(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

extern "C" UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    if (trace::Enter("SetTextAlign", hdc, align)) return GDI_ERROR;
    DC *dc = FindDC(hdc);
    if (!dc) return GDI_ERROR;
    const UINT previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

extern "C" BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    const std::string logged = Logged(lpString, c);
    if (trace::Enter("TextOutA", hdc, x, y, LoggedText(lpString, logged), c)) return FALSE;
    DC *dc = FindDC(hdc);
    if (!dc || c < 0 || (c > 0 && !lpString)) return FALSE;
    if (c == 0) return TRUE; // succeeds and draws nothing, not even an opaque box
    std::shared_ptr<const font::Font> font = SelectedFont(*dc);
    if (!font) return FALSE;

    const size_t count = static_cast<size_t>(c);
    const int width = font->Extent(lpString, count).cx;
    const font::Metrics &m = font->GetMetrics();
    const bool updateCp = (dc->textAlign & TA_UPDATECP) != 0;
    // Under TA_UPDATECP the current position is the reference point and x, y are ignored.
    long long left = updateCp ? dc->position.x : x;
    long long top = updateCp ? dc->position.y : y;
    switch (dc->textAlign & kHorizontal) {
    case TA_RIGHT: left -= width; break;
    case TA_CENTER: left -= width / 2; break;
    default: break;
    }
    switch (dc->textAlign & kVertical) {
    case TA_BASELINE: top -= m.ascent; break;
    case TA_BOTTOM: top -= m.height; break;
    default: break;
    }
    left = std::clamp<long long>(left, INT32_MIN, INT32_MAX);
    top = std::clamp<long long>(top, INT32_MIN, INT32_MAX);

    Surface &surface = *TargetSurface(*dc);
    const RECT cell{static_cast<LONG>(left), static_cast<LONG>(top),
                    static_cast<LONG>(std::min<long long>(left + width, INT32_MAX)),
                    static_cast<LONG>(std::min<long long>(top + m.height, INT32_MAX))};
    if (dc->bkMode == OPAQUE) {
        const Pixel background = PixelFromColorref(dc->bkColor & 0x00FFFFFFu);
        for (long long py = std::max<long long>(cell.top, 0); py < std::min<long long>(cell.bottom, surface.height); ++py)
            std::fill(surface.Row(static_cast<int32_t>(py)) + std::max<long long>(cell.left, 0),
                      surface.Row(static_cast<int32_t>(py)) + std::min<long long>(cell.right, surface.width),
                      background);
    }
    font->Draw(surface, cell.left, cell.top, lpString, count, dc->textColor);
    // Slanted and overhanging glyphs may reach about a cell height past either end.
    const long long overhang = m.height;
    NoteDrawn(*dc, RECT{static_cast<LONG>(std::max<long long>(left - overhang, INT32_MIN)), cell.top,
                        static_cast<LONG>(std::min<long long>(left + width + overhang, INT32_MAX)), cell.bottom});

    if (updateCp) {
        switch (dc->textAlign & kHorizontal) {
        case TA_RIGHT: dc->position.x = static_cast<LONG>(std::max<long long>(dc->position.x - width, INT32_MIN)); break;
        case TA_CENTER: break; // centred on the position, which stays
        default: dc->position.x = static_cast<LONG>(std::min<long long>(static_cast<long long>(dc->position.x) + width, INT32_MAX)); break;
        }
    }
    return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    const std::string logged = Logged(lpString, c);
    if (trace::Enter("GetTextExtentPoint32A", hdc, LoggedText(lpString, logged), c, psizl)) return FALSE;
    DC *dc = FindDC(hdc);
    if (!dc || !psizl || c < 0 || (c > 0 && !lpString)) return FALSE;
    std::shared_ptr<const font::Font> font = SelectedFont(*dc);
    if (!font) return FALSE;
    *psizl = font->Extent(lpString, static_cast<size_t>(c));
    return TRUE;
}
