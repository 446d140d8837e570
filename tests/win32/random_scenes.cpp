// random_scenes.cpp - seeded random scenes in plain Win32 GDI (figures, lines, polygons,
// curves, regions, pixels, blits, stretches and DIBs, with random coordinates, pens,
// brushes, mix modes and raster operations) on a memory DC. Built for Windows (real GDI,
// under Wine) and for Linux (the stand-in); random-scenes.sh holds the two to each other.
//   random_scenes FIRST COUNT        one line a scene: its seed, then a hash of the surface
//                                    and the calls' results after each step
//   random_scenes --describe SEED    the scene's calls, one step a line
//   random_scenes --dump SEED FILE [STEPS]   the surface after the scene (or its first
//                                    STEPS steps) as a PPM picture
//
// Left out, because Wine (the judge here) is itself known to be wrong there
// (tests/conformance/known-divergences.txt): tall thin ellipses and elliptic regions or
// corners, inside-frame pens wider than their box, the HALFTONE stretch mode, and lines
// that start where a PolyBezier left the current position.
#include "win32api.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 32;

// splitmix64: the same numbers from every compiler and C library.
class Rng {
public:
    // Seeds next to each other must not give shifted copies of one sequence.
    explicit Rng(uint64_t seed) : state_(seed)
    {
        state_ = Next() ^ 0x5EED5EED5EED5EEDull;
    }
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); } // inclusive
    bool Chance(int percent) { return Range(0, 99) < percent; }
    template <typename T, size_t N> const T &Pick(const T (&items)[N]) { return items[Next() % N]; }
    // A coordinate: mostly on or just past the surface, now and then far off it.
    int X() { return Chance(90) ? Range(-6, kWidth + 6) : Range(-300, 300); }
    int Y() { return Chance(90) ? Range(-6, kHeight + 6) : Range(-300, 300); }
    COLORREF Colour()
    {
        static const COLORREF kFew[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
        return Chance(30) ? Pick(kFew) : static_cast<COLORREF>(Next() & 0xFFFFFF);
    }

private:
    uint64_t state_;
};

struct Rop {
    DWORD code;
    const char *name;
};
const Rop kRops[] = {{SRCCOPY, "SRCCOPY"},         {SRCPAINT, "SRCPAINT"},     {SRCAND, "SRCAND"},
                     {SRCINVERT, "SRCINVERT"},     {SRCERASE, "SRCERASE"},     {NOTSRCCOPY, "NOTSRCCOPY"},
                     {NOTSRCERASE, "NOTSRCERASE"}, {MERGECOPY, "MERGECOPY"},   {MERGEPAINT, "MERGEPAINT"},
                     {PATCOPY, "PATCOPY"},         {PATPAINT, "PATPAINT"},     {PATINVERT, "PATINVERT"},
                     {DSTINVERT, "DSTINVERT"},     {BLACKNESS, "BLACKNESS"},   {WHITENESS, "WHITENESS"}};

uint64_t Mix(uint64_t h, uint64_t v)
{
    for (int i = 0; i < 8; ++i) {
        h ^= (v >> (8 * i)) & 0xFF;
        h *= 0x100000001B3ull;
    }
    return h;
}

BITMAPINFO Header(int width, int height, int bits)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// Every pixel its own colour, so a pixel taken from the wrong place shows.
uint32_t Distinct(Rng &rng, int i) { return (static_cast<uint32_t>(rng.Next()) & 0xF0F0F0) | static_cast<uint32_t>(i & 0xFF) << 0 | 0x0F0000u; }

// A DIB of random size and layout whose every pixel differs.
struct Dib {
    BITMAPINFO bmi;
    std::vector<uint8_t> bits;
    Dib(Rng &rng, int width, int height, bool topDown, int bitCount)
        : bmi(Header(width, topDown ? -height : height, bitCount))
    {
        const int stride = ((width * bitCount + 31) / 32) * 4;
        bits.assign(static_cast<size_t>(stride) * height, 0);
        int i = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t p = Distinct(rng, i++);
                uint8_t *q = &bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * (bitCount / 8)];
                q[0] = static_cast<uint8_t>(p);
                q[1] = static_cast<uint8_t>(p >> 8);
                q[2] = static_cast<uint8_t>(p >> 16);
                if (bitCount == 32)
                    q[3] = static_cast<uint8_t>(rng.Next()); // the unused byte: ignored
            }
    }
};

class Scene {
public:
    Scene(uint64_t seed, bool describe) : rng_(seed), describe_(describe)
    {
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateCompatibleBitmap(screen_, kWidth, kHeight);
        initial_ = SelectObject(dc_, bitmap_);
        // The background: distinct pixels.
        Dib bg(rng_, kWidth, kHeight, true, 32);
        SetDIBitsToDevice(dc_, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bg.bits.data(), &bg.bmi, DIB_RGB_COLORS);
        // A second bitmap to blit from, of its own size.
        srcW_ = rng_.Range(1, 12);
        srcH_ = rng_.Range(1, 12);
        src_ = CreateCompatibleDC(screen_);
        // Now and then a monochrome one (compatible with a fresh memory DC): its pixels
        // come out in the destination's text colour and white.
        const bool mono = rng_.Chance(10);
        srcBitmap_ = CreateCompatibleBitmap(mono ? src_ : screen_, srcW_, srcH_);
        srcInitial_ = SelectObject(src_, srcBitmap_);
        Dib pic(rng_, srcW_, srcH_, true, 32);
        SetDIBitsToDevice(src_, 0, 0, srcW_, srcH_, 0, 0, 0, srcH_, pic.bits.data(), &pic.bmi, DIB_RGB_COLORS);
        const COLORREF text = rng_.Colour();
        SetTextColor(dc_, text);
        Note("source bitmap %dx%d%s, text colour 0x%06lX", srcW_, srcH_, mono ? " monochrome" : "",
             static_cast<unsigned long>(text));
        penInitial_ = SelectObject(dc_, GetStockObject(BLACK_PEN));
        brushInitial_ = SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    }

    ~Scene()
    {
        SelectObject(dc_, penInitial_);
        SelectObject(dc_, brushInitial_);
        for (HGDIOBJ o : objects_)
            DeleteObject(o);
        SelectObject(dc_, initial_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        SelectObject(src_, srcInitial_);
        DeleteObject(srcBitmap_);
        DeleteDC(src_);
        ReleaseDC(nullptr, screen_);
    }

    // Runs the scene's steps (at most `limit`), calling after(step) following each.
    template <typename After> void Run(After after, int limit = 6)
    {
        const int steps = std::min(rng_.Range(1, 6), limit);
        for (step_ = 0; step_ < steps; ++step_) {
            const size_t noted = lines_.size();
            Step();
            if (describe_ && lines_.size() == noted)
                Note("(nothing: a figure Wine is known to draw wrong)");
            after(step_);
        }
    }

    // The surface as 0x00RRGGBB, top row first.
    std::vector<uint32_t> Pixels()
    {
        std::vector<uint32_t> px(static_cast<size_t>(kWidth) * kHeight, 0);
        BITMAPINFO bmi = Header(kWidth, -kHeight, 32);
        SelectObject(dc_, initial_); // GetDIBits wants the bitmap out of any DC
        results_.push_back(GetDIBits(screen_, bitmap_, 0, kHeight, px.data(), &bmi, DIB_RGB_COLORS));
        SelectObject(dc_, bitmap_);
        for (uint32_t &p : px)
            p &= 0xFFFFFF;
        return px;
    }

    uint64_t Hash()
    {
        uint64_t h = 0xCBF29CE484222325ull;
        for (uint32_t p : Pixels())
            h = Mix(h, p);
        for (long long r : results_)
            h = Mix(h, static_cast<uint64_t>(r));
        results_.clear();
        return h;
    }

    const std::vector<std::string> &Lines() const { return lines_; }

private:
    Rng rng_;
    bool describe_;
    std::vector<std::string> lines_;
    std::vector<long long> results_;
    std::vector<HGDIOBJ> objects_;
    HDC screen_, dc_, src_;
    HBITMAP bitmap_, srcBitmap_;
    HGDIOBJ initial_, srcInitial_, penInitial_, brushInitial_;
    int srcW_, srcH_;
    int step_ = -1;
    // What the selected pen does to a box: its style and width.
    int penStyle_ = PS_SOLID, penWidth_ = 1;

    void Note(const char *fmt, ...)
    {
        if (!describe_)
            return;
        char buf[512];
        va_list ap;
        va_start(ap, fmt);
        std::vsnprintf(buf, sizeof buf, fmt, ap);
        va_end(ap);
        lines_.push_back(step_ < 0 ? std::string(buf) : "step " + std::to_string(step_ + 1) + ": " + buf);
    }
    long long Keep(long long v)
    {
        results_.push_back(v);
        return v;
    }
    HGDIOBJ Own(HGDIOBJ o)
    {
        objects_.push_back(o);
        return o;
    }

    void Step()
    {
        switch (rng_.Range(0, 13)) {
        case 0: ChangePen(); break;
        case 1: ChangeBrush(); break;
        case 2: ChangeModes(); break;
        case 3: Figure(); break;
        case 4: LineStep(); break;
        case 5: PolygonStep(); break;
        case 6: Bezier(); break;
        case 7: RegionStep(); break;
        case 8: PixelStep(); break;
        case 9: case 10: BitBltStep(); break;
        case 11: StretchBltStep(); break;
        case 12: case 13: DibStep(); break;
        }
    }

    void ChangePen()
    {
        if (rng_.Chance(15)) {
            const int stock = rng_.Range(0, 2);
            const int ids[] = {BLACK_PEN, WHITE_PEN, NULL_PEN};
            SelectObject(dc_, GetStockObject(ids[stock]));
            penStyle_ = stock == 2 ? PS_NULL : PS_SOLID;
            penWidth_ = 1;
            Note("SelectObject(GetStockObject(%s))", stock == 0 ? "BLACK_PEN" : stock == 1 ? "WHITE_PEN" : "NULL_PEN");
            return;
        }
        const int styles[] = {PS_SOLID, PS_INSIDEFRAME};
        penStyle_ = rng_.Pick(styles);
        penWidth_ = rng_.Chance(50) ? rng_.Range(0, 1) : rng_.Range(2, 7);
        const COLORREF c = rng_.Colour();
        SelectObject(dc_, Own(CreatePen(penStyle_, penWidth_, c)));
        Note("SelectObject(CreatePen(%s, %d, 0x%06lX))", penStyle_ == PS_SOLID ? "PS_SOLID" : "PS_INSIDEFRAME", penWidth_,
             static_cast<unsigned long>(c));
        if (penWidth_ == 0)
            penWidth_ = 1;
    }

    void ChangeBrush()
    {
        if (rng_.Chance(40)) {
            const int ids[] = {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, GRAY_BRUSH};
            const char *names[] = {"WHITE_BRUSH", "BLACK_BRUSH", "NULL_BRUSH", "GRAY_BRUSH"};
            const int i = rng_.Range(0, 3);
            SelectObject(dc_, GetStockObject(ids[i]));
            Note("SelectObject(GetStockObject(%s))", names[i]);
            return;
        }
        const COLORREF c = rng_.Colour();
        SelectObject(dc_, Own(CreateSolidBrush(c)));
        Note("SelectObject(CreateSolidBrush(0x%06lX))", static_cast<unsigned long>(c));
    }

    void ChangeModes()
    {
        const int rop2 = rng_.Chance(50) ? (rng_.Chance(50) ? R2_COPYPEN : R2_NOT) : rng_.Range(R2_BLACK, R2_WHITE);
        Keep(SetROP2(dc_, rop2));
        // HALFTONE is left out: Wine's filter is its own and not deterministic at the edges.
        const int stretch = rng_.Range(BLACKONWHITE, COLORONCOLOR);
        Keep(SetStretchBltMode(dc_, stretch));
        const int fill = rng_.Range(ALTERNATE, WINDING);
        Keep(SetPolyFillMode(dc_, fill));
        const int dir = rng_.Range(AD_COUNTERCLOCKWISE, AD_CLOCKWISE);
        Keep(SetArcDirection(dc_, dir));
        Note("SetROP2(%d) SetStretchBltMode(%d) SetPolyFillMode(%d) SetArcDirection(%d)", rop2, stretch, fill, dir);
    }

    // Wine is known to be wrong for ellipses (and elliptic regions, corners, arcs) that are
    // narrow and tall - its outline loses the tips and its regions leave rows
    // uninitialised - so those are not drawn: an ellipse is kept at most as tall as it is
    // wide, or twice as tall from 8 pixels wide on.
    static bool SoundEllipse(int w, int h) { return w > 0 && h > 0 && (h <= w || (w >= 8 && h <= 2 * w)); }

    // A random box; the figure is drawn only if Wine draws it right.
    void Box(int &l, int &t, int &r, int &b)
    {
        l = rng_.X();
        t = rng_.Y();
        if (rng_.Chance(85)) {
            r = l + rng_.Range(-24, 24);
            b = t + rng_.Range(-24, 24);
        } else {
            r = rng_.X();
            b = rng_.Y();
        }
    }

    // The ellipse a box leaves once a wide inside-frame pen has been taken off it; false
    // when that pen is wider than the box, which Wine also gets wrong.
    bool InnerBox(int w, int h, int &iw, int &ih) const
    {
        iw = w;
        ih = h;
        if (penStyle_ != PS_INSIDEFRAME || penWidth_ <= 1)
            return true;
        if (penWidth_ * 2 > w || penWidth_ * 2 > h)
            return false;
        iw = w - penWidth_;
        ih = h - penWidth_;
        return true;
    }

    void Figure()
    {
        int l, t, r, b;
        Box(l, t, r, b);
        const int w = std::abs(r - l), h = std::abs(b - t);
        int iw, ih;
        if (!InnerBox(w, h, iw, ih))
            return;
        const int kind = rng_.Range(0, 5);
        if (kind == 0) {
            Note("Rectangle(%d, %d, %d, %d)", l, t, r, b);
            Keep(Rectangle(dc_, l, t, r, b));
            return;
        }
        if (!SoundEllipse(iw, ih) || !SoundEllipse(w, h))
            return;
        if (kind == 1) {
            Note("Ellipse(%d, %d, %d, %d)", l, t, r, b);
            Keep(Ellipse(dc_, l, t, r, b));
        } else if (kind == 2) {
            const int cw = rng_.Range(0, w), ch = rng_.Range(0, h);
            if (cw > 2 && ch > 2 && !SoundEllipse(cw, ch))
                return;
            Note("RoundRect(%d, %d, %d, %d, %d, %d)", l, t, r, b, cw, ch);
            Keep(RoundRect(dc_, l, t, r, b, cw, ch));
        } else {
            const int x1 = rng_.X(), y1 = rng_.Y(), x2 = rng_.X(), y2 = rng_.Y();
            const char *names[] = {"Arc", "Pie", "Chord"};
            Note("%s(%d, %d, %d, %d, %d, %d, %d, %d)", names[kind - 3], l, t, r, b, x1, y1, x2, y2);
            if (kind == 3)
                Keep(Arc(dc_, l, t, r, b, x1, y1, x2, y2));
            else if (kind == 4)
                Keep(Pie(dc_, l, t, r, b, x1, y1, x2, y2));
            else
                Keep(Chord(dc_, l, t, r, b, x1, y1, x2, y2));
        }
    }

    std::vector<POINT> Points(int n)
    {
        std::vector<POINT> pts(static_cast<size_t>(n));
        for (POINT &p : pts) {
            p.x = rng_.X();
            p.y = rng_.Y();
        }
        return pts;
    }
    std::string Text(const std::vector<POINT> &pts) const
    {
        std::string s;
        for (const POINT &p : pts)
            s += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        return s;
    }

    // Lines begin with a MoveToEx of their own: Wine moves the current position after
    // PolyBezier, where GDI leaves it alone.
    void LineStep()
    {
        std::vector<POINT> pts = Points(rng_.Range(2, 5));
        if (rng_.Chance(50)) {
            Note("Polyline%s", Text(pts).c_str());
            Keep(Polyline(dc_, pts.data(), static_cast<int>(pts.size())));
            return;
        }
        Note("MoveToEx + LineTo%s", Text(pts).c_str());
        Keep(MoveToEx(dc_, pts[0].x, pts[0].y, nullptr));
        for (size_t i = 1; i < pts.size(); ++i)
            Keep(LineTo(dc_, pts[i].x, pts[i].y));
    }

    void PolygonStep()
    {
        std::vector<POINT> pts = Points(rng_.Range(3, 6));
        Note("Polygon%s", Text(pts).c_str());
        Keep(Polygon(dc_, pts.data(), static_cast<int>(pts.size())));
    }

    void Bezier()
    {
        std::vector<POINT> pts = Points(rng_.Chance(70) ? 4 : 7);
        Note("PolyBezier%s", Text(pts).c_str());
        Keep(PolyBezier(dc_, pts.data(), static_cast<DWORD>(pts.size())));
    }

    void RegionStep()
    {
        int l, t, r, b;
        Box(l, t, r, b);
        HRGN rgn = nullptr;
        const int kind = rng_.Range(0, 3);
        // A region's ellipse is one pixel smaller than the drawn one's.
        const int w = std::abs(r - l) - 1, h = std::abs(b - t) - 1;
        if (kind == 0) {
            Note("CreateRectRgn(%d, %d, %d, %d)", l, t, r, b);
            rgn = CreateRectRgn(l, t, r, b);
        } else if (kind == 1) {
            if (!SoundEllipse(w, h) || w < 3)
                return;
            Note("CreateEllipticRgn(%d, %d, %d, %d)", l, t, r, b);
            rgn = CreateEllipticRgn(l, t, r, b);
        } else if (kind == 2) {
            const int cw = rng_.Range(0, w + 1), ch = rng_.Range(0, h + 1);
            // A region's corner is an ellipse from 2 pixels on (a drawn corner from 3).
            if (w < 3 || (cw >= 2 && ch >= 2 && !SoundEllipse(std::min(cw, w + 1), std::min(ch, h + 1))))
                return;
            Note("CreateRoundRectRgn(%d, %d, %d, %d, %d, %d)", l, t, r, b, cw, ch);
            rgn = CreateRoundRectRgn(l, t, r, b, cw, ch);
        } else {
            std::vector<POINT> pts = Points(rng_.Range(3, 6));
            const int mode = rng_.Range(ALTERNATE, WINDING);
            Note("CreatePolygonRgn(%d)%s", mode, Text(pts).c_str());
            rgn = CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), mode);
        }
        if (!rgn)
            return;
        RECT box;
        Keep(GetRgnBox(rgn, &box));
        Keep(box.left), Keep(box.top), Keep(box.right), Keep(box.bottom);
        const int px = rng_.X(), py = rng_.Y();
        Keep(PtInRegion(rgn, px, py));
        const int use = rng_.Range(0, 2);
        if (use == 0) {
            Note("  InvertRgn; PtInRegion(%d, %d)", px, py);
            Keep(InvertRgn(dc_, rgn));
        } else if (use == 1) {
            const COLORREF c = rng_.Colour();
            HBRUSH brush = CreateSolidBrush(c);
            Note("  FillRgn(CreateSolidBrush(0x%06lX)); PtInRegion(%d, %d)", static_cast<unsigned long>(c), px, py);
            Keep(FillRgn(dc_, rgn, brush));
            DeleteObject(brush);
        } else {
            Note("  PaintRgn; PtInRegion(%d, %d)", px, py);
            Keep(PaintRgn(dc_, rgn));
        }
        DeleteObject(rgn);
    }

    void PixelStep()
    {
        const int x = rng_.X(), y = rng_.Y();
        if (rng_.Chance(50)) {
            Note("GetPixel(%d, %d)", x, y);
            Keep(GetPixel(dc_, x, y));
            return;
        }
        const COLORREF c = rng_.Colour();
        Note("SetPixel(%d, %d, 0x%06lX)", x, y, static_cast<unsigned long>(c));
        Keep(SetPixel(dc_, x, y, c));
    }

    // A size for blits: mostly small and positive, sometimes negative or none.
    int Extent(int most)
    {
        if (rng_.Chance(3))
            return rng_.Range(-40 * most, 40 * most);
        return rng_.Chance(75) ? rng_.Range(1, most) : rng_.Range(-most, most);
    }
    const Rop &PickRop() { return rng_.Chance(40) ? kRops[0] : rng_.Pick(kRops); }

    // The source of a blit: the other bitmap, the surface itself, or none.
    HDC PickSource(const char *&name)
    {
        const int k = rng_.Range(0, 9);
        name = k < 7 ? "src" : k < 9 ? "self" : "NULL";
        return k < 7 ? src_ : k < 9 ? dc_ : nullptr;
    }
    int SrcX() { return rng_.Chance(85) ? rng_.Range(-3, srcW_ + 2) : rng_.Range(-40, 40); }
    int SrcY() { return rng_.Chance(85) ? rng_.Range(-3, srcH_ + 2) : rng_.Range(-40, 40); }

    void BitBltStep()
    {
        const char *srcName;
        HDC src = PickSource(srcName);
        const Rop &rop = PickRop();
        const int x = rng_.X(), y = rng_.Y(), w = Extent(16), h = Extent(16);
        const int sx = src == dc_ ? rng_.X() : SrcX(), sy = src == dc_ ? rng_.Y() : SrcY();
        Note("BitBlt(%d, %d, %d, %d, %s, %d, %d, %s)", x, y, w, h, srcName, sx, sy, rop.name);
        Keep(BitBlt(dc_, x, y, w, h, src, sx, sy, rop.code));
    }

    void StretchBltStep()
    {
        const char *srcName;
        HDC src = PickSource(srcName);
        const Rop &rop = PickRop();
        const int x = rng_.X(), y = rng_.Y(), w = Extent(20), h = Extent(20);
        const int sx = src == dc_ ? rng_.X() : SrcX(), sy = src == dc_ ? rng_.Y() : SrcY();
        const int sw = Extent(14), sh = Extent(14);
        Note("StretchBlt(%d, %d, %d, %d, %s, %d, %d, %d, %d, %s)", x, y, w, h, srcName, sx, sy, sw, sh, rop.name);
        Keep(StretchBlt(dc_, x, y, w, h, src, sx, sy, sw, sh, rop.code));
    }

    void DibStep()
    {
        const int dw = rng_.Range(1, 10), dh = rng_.Range(1, 10);
        const bool topDown = rng_.Chance(50);
        const int bits = rng_.Chance(70) ? 32 : 24;
        Dib dib(rng_, dw, dh, topDown, bits);
        const int x = rng_.X(), y = rng_.Y();
        const int sx = rng_.Range(-3, dw + 2), sy = rng_.Range(-3, dh + 2);
        Note("DIB %dx%d %s %d-bit", dw, dh, topDown ? "top-down" : "bottom-up", bits);
        if (rng_.Chance(40)) {
            const int w = rng_.Range(0, dw + 3), h = rng_.Range(0, dh + 3);
            const int start = rng_.Chance(70) ? 0 : rng_.Range(0, dh);
            const int lines = rng_.Chance(70) ? dh - start : rng_.Range(0, dh + 2);
            Note("  SetDIBitsToDevice(%d, %d, %d, %d, %d, %d, %d, %d)", x, y, w, h, sx, sy, start, lines);
            Keep(SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), sx, sy,
                                   static_cast<UINT>(start), static_cast<UINT>(lines), dib.bits.data(), &dib.bmi,
                                   DIB_RGB_COLORS));
            return;
        }
        const int w = Extent(20), h = Extent(20), sw = Extent(12), sh = Extent(12);
        const Rop &rop = PickRop();
        Note("  StretchDIBits(%d, %d, %d, %d, %d, %d, %d, %d, %s)", x, y, w, h, sx, sy, sw, sh, rop.name);
        Keep(StretchDIBits(dc_, x, y, w, h, sx, sy, sw, sh, dib.bits.data(), &dib.bmi, DIB_RGB_COLORS, rop.code));
    }
};

bool WritePpm(const char *path, const std::vector<uint32_t> &px)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (uint32_t p : px) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, f);
    }
    return std::fclose(f) == 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: random_scenes FIRST COUNT | --describe SEED | --dump SEED FILE [STEPS]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--describe") == 0) {
        const uint64_t seed = std::strtoull(argv[2], nullptr, 10);
        Scene scene(seed, true);
        scene.Run([](int) {});
        for (const std::string &line : scene.Lines())
            std::printf("%s\n", line.c_str());
        return 0;
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--dump") == 0) {
        Scene scene(std::strtoull(argv[2], nullptr, 10), false);
        scene.Run([](int) {}, argc == 5 ? std::atoi(argv[4]) : 6);
        return WritePpm(argv[3], scene.Pixels()) ? 0 : 1;
    }
    if (argc != 3 || argv[1][0] == '-')
        return Usage();
    const uint64_t first = std::strtoull(argv[1], nullptr, 10);
    const uint64_t count = std::strtoull(argv[2], nullptr, 10);
    std::string out;
    for (uint64_t seed = first; seed < first + count; ++seed) {
        Scene scene(seed, false);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(seed));
        out = buf;
        scene.Run([&](int) {
            std::snprintf(buf, sizeof buf, " %016llx", static_cast<unsigned long long>(scene.Hash()));
            out += buf;
        });
        std::printf("%s\n", out.c_str());
    }
    return 0;
}
