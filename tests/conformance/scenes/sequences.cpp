// sequences.cpp (scenes) - the device-call sequences of the library's drawing operations,
// replayed in plain GDI: each shape in the filled, frame and inverted styles (pen and
// brush selected and restored, mix mode set, regions for inverted curves), pixels,
// double buffering's clear and copy, reading a pixel back, capturing and drawing images.
#include "../scene.h"

#include <cstring>

namespace scene {

namespace {

enum Drawstyle { kFilled = 1, kFrame = 2, kInverted = 3 };

// The drawing state a window keeps, and its select/restore pair around each shape.
struct Window {
    HDC dcActive;
    HPEN penObject;
    HBRUSH brshObject;
    HGDIOBJ penSaved = nullptr;
    HGDIOBJ brshSaved = nullptr;

    Window(HDC dc, COLORREF pen, int width, COLORREF brush)
        : dcActive(dc), penObject(CreatePen(PS_INSIDEFRAME, width, pen)), brshObject(CreateSolidBrush(brush)) {}
    ~Window()
    {
        DeleteObject(penObject);
        DeleteObject(brshObject);
    }
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    void SelectDrawStyle(Drawstyle style)
    {
        switch (style) {
        case kFilled:
            penSaved = SelectObject(dcActive, penObject);
            brshSaved = SelectObject(dcActive, brshObject);
            SetROP2(dcActive, R2_COPYPEN);
            break;
        case kFrame:
            penSaved = SelectObject(dcActive, penObject);
            brshSaved = SelectObject(dcActive, GetStockObject(NULL_BRUSH));
            SetROP2(dcActive, R2_COPYPEN);
            break;
        case kInverted:
            penSaved = SelectObject(dcActive, GetStockObject(BLACK_PEN));
            brshSaved = SelectObject(dcActive, GetStockObject(BLACK_BRUSH));
            SetROP2(dcActive, R2_NOT);
            break;
        }
    }
    void RestoreDrawStyle()
    {
        SelectObject(dcActive, penSaved);
        SelectObject(dcActive, brshSaved);
    }

    // Square rectangles and arcs invert through the mix mode, the other figures by region.
    void Rectangle(Results &r, int x1, int y1, int x2, int y2, Drawstyle s, int w, int h)
    {
        if (w == 0 && h == 0) {
            SelectDrawStyle(s);
            r(::Rectangle(dcActive, x1, y1, x2, y2));
            RestoreDrawStyle();
        } else if (s != kInverted) {
            SelectDrawStyle(s);
            r(::RoundRect(dcActive, x1, y1, x2, y2, w, h));
            RestoreDrawStyle();
        } else {
            Invert(r, CreateRoundRectRgn(x1, y1, x2, y2, w, h));
        }
    }
    void Polygon(Results &r, const POINT *p, int n, Drawstyle s)
    {
        if (s != kInverted) {
            SelectDrawStyle(s);
            r(::Polygon(dcActive, p, n));
            RestoreDrawStyle();
        } else {
            Invert(r, CreatePolygonRgn(p, n, WINDING));
        }
    }
    void Ellipse(Results &r, int x1, int y1, int x2, int y2, Drawstyle s)
    {
        if (s != kInverted) {
            SelectDrawStyle(s);
            r(::Ellipse(dcActive, x1, y1, x2, y2));
            RestoreDrawStyle();
        } else {
            Invert(r, CreateEllipticRgn(x1, y1, x2, y2));
        }
    }
    void Arc(Results &r, const int box[4], const int radials[4], Drawstyle s)
    {
        SelectDrawStyle(s);
        if (s == kFrame)
            r(::Arc(dcActive, box[0], box[1], box[2], box[3], radials[0], radials[1], radials[2], radials[3]));
        else
            r(::Pie(dcActive, box[0], box[1], box[2], box[3], radials[0], radials[1], radials[2], radials[3]));
        RestoreDrawStyle();
    }
    void Line(Results &r, int x1, int y1, int x2, int y2)
    {
        SelectDrawStyle(kFrame);
        r(MoveToEx(dcActive, x1, y1, nullptr));
        r(LineTo(dcActive, x2, y2));
        RestoreDrawStyle();
    }
    void Pixel(Results &r, int x, int y, COLORREF colour)
    {
        HPEN kept = penObject;
        penObject = CreatePen(PS_INSIDEFRAME, 1, colour);
        Line(r, x, y, x + 1, y + 1);
        r(DeleteObject(penObject));
        penObject = kept;
    }
    void Invert(Results &r, HRGN rgn)
    {
        r(InvertRgn(dcActive, rgn));
        DeleteObject(rgn);
    }
};

const char *StyleName(Drawstyle s)
{
    return s == kFilled ? "filled" : s == kFrame ? "frame" : "inverted";
}

void AddShapes(std::vector<Group> &out)
{
    Group g{"library-shapes", 40, 40, {}};
    for (Drawstyle s : {kFilled, kFrame, kInverted}) {
        Background bg = s == kInverted ? Background::Pattern : Background::Marker;
        const char *n = StyleName(s);
        for (int w : {0, 1, 3, 6})
            g.Add(Format("rectangle-%s-w%d", n, w), [=](HDC dc, Results &r) {
                Window win(dc, kPen, w, kBrush);
                win.Rectangle(r, 5, 5, 35, 28, s, 0, 0);
            }, bg);
        const int corners[][2] = {{10, 8}, {0, 5}, {5, 0}, {60, 60}};
        for (const auto &c : corners)
            g.Add(Format("rounded-%s-%dx%d", n, c[0], c[1]), [=](HDC dc, Results &r) {
                Window win(dc, kPen, 3, kBrush);
                win.Rectangle(r, 5, 5, 35, 28, s, c[0], c[1]);
            }, bg);
        g.Add(Format("rectangle-%s-reversed", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 2, kBrush);
            win.Rectangle(r, 33, 30, 6, 4, s, 0, 0);
        }, bg);
        g.Add(Format("triangle-%s", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 2, kBrush);
            const POINT p[] = {{4, 35}, {20, 3}, {36, 30}};
            win.Polygon(r, p, 3, s);
        }, bg);
        g.Add(Format("star-%s", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 1, kBrush);
            const POINT p[] = {{20, 2}, {31, 36}, {3, 14}, {37, 14}, {9, 36}};
            win.Polygon(r, p, 5, s);
        }, bg);
        g.Add(Format("circle-%s", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 3, kBrush);
            const int x = 20, y = 19, radius = 14;
            win.Ellipse(r, x - radius, y - radius, x + radius, y + radius, s);
        }, bg);
        g.Add(Format("circle-%s-r1", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 1, kBrush);
            win.Ellipse(r, 19, 19, 21, 21, s);
        }, bg);
        g.Add(Format("ellipse-%s", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 1, kBrush);
            win.Ellipse(r, 3, 9, 37, 30, s);
        }, bg);
        // Radial points as the library computes them from angles (degrees unless noted).
        struct ArcCase { const char *name; int box[4]; int radials[4]; };
        const ArcCase arcs[] = {{"circle-0-90", {4, 4, 36, 36}, {36, 20, 20, 4}},
                                {"circle-45-300", {4, 4, 36, 36}, {31, 9, 28, 33}},
                                {"circle-30-30", {4, 4, 36, 36}, {33, 13, 33, 13}},
                                {"circle-90-0", {4, 4, 36, 36}, {20, 4, 36, 20}},
                                {"circle-200-340", {4, 4, 36, 36}, {5, 25, 35, 25}},
                                {"circle-pi-0.5rad", {4, 4, 36, 36}, {4, 20, 34, 13}},
                                {"ellipse-0-90", {2, 8, 38, 32}, {38, 20, 20, 8}},
                                {"ellipse-45-300", {2, 8, 38, 32}, {32, 12, 29, 30}},
                                {"ellipse-30-30", {2, 8, 38, 32}, {35, 15, 35, 15}},
                                {"ellipse-200-340", {2, 8, 38, 32}, {4, 24, 36, 24}}};
        for (const ArcCase &a : arcs)
            g.Add(Format("arc-%s-%s", n, a.name), [=](HDC dc, Results &r) {
                Window win(dc, kPen, 1, kBrush);
                win.Arc(r, a.box, a.radials, s);
            }, bg);
        g.Add(Format("arc-%s-circle-0-90-w4", n), [=](HDC dc, Results &r) {
            Window win(dc, kPen, 4, kBrush);
            const int box[4] = {4, 4, 36, 36}, radials[4] = {36, 20, 20, 4};
            win.Arc(r, box, radials, s);
        }, bg);
    }
    g.Add("line-frame", [](HDC dc, Results &r) {
        Window win(dc, kPen, 1, kBrush);
        win.Line(r, 3, 30, 36, 8);
    });
    g.Add("line-frame-w5", [](HDC dc, Results &r) {
        Window win(dc, kPen, 5, kBrush);
        win.Line(r, 6, 30, 33, 10);
    });
    g.Add("bezier-frame", [](HDC dc, Results &r) {
        Window win(dc, kPen, 2, kBrush);
        win.SelectDrawStyle(kFrame);
        const POINT p[] = {{3, 35}, {8, 2}, {30, 2}, {37, 35}};
        r(PolyBezier(dc, p, 4));
        win.RestoreDrawStyle();
    });
    g.Add("pixels", [](HDC dc, Results &r) {
        Window win(dc, kPen, 7, kBrush);
        win.Pixel(r, 10, 10, kPen2);
        win.Pixel(r, 0, 0, kPen2);
        win.Pixel(r, 39, 39, kPen2);
        win.Pixel(r, 40, 20, kPen2);
        win.Pixel(r, -1, 20, kPen2);
        win.Line(r, 5, 30, 30, 30); // the window's own wide pen is still in place
    });
    g.Add("inverted-then-filled", [](HDC dc, Results &r) {
        Window win(dc, kPen, 2, kBrush);
        win.Rectangle(r, 3, 3, 25, 25, kInverted, 0, 0);
        win.Rectangle(r, 14, 14, 37, 37, kFilled, 0, 0);
    }, Background::Pattern);
    g.Add("new-window-state", [](HDC dc, Results &r) {
        // A window starts with a white pen of width 0 and a white brush.
        Window win(dc, RGB(255, 255, 255), 0, RGB(255, 255, 255));
        win.Rectangle(r, 4, 4, 36, 20, kFilled, 0, 0);
        win.Ellipse(r, 4, 22, 36, 38, kFrame);
    });
    g.Add("status-line", [](HDC dc, Results &r) {
        Window win(dc, RGB(255, 255, 255), 0, RGB(0, 0, 0));
        win.Rectangle(r, 0, 30, 40, 40, kFilled, 0, 0);
    });
    out.push_back(std::move(g));
}

BITMAPINFO TopDown(int w, int h)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = 40;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// Reads one pixel the way the library does, keeping every result and the pixel.
void GetColor(HDC dcActive, int x, int y, Results &r)
{
    BITMAPINFO bmi = TopDown(1, 1);
    HDC dcTempBuffer = CreateCompatibleDC(dcActive);
    HBITMAP bmapTempBuffer = CreateCompatibleBitmap(dcActive, 1, 1);
    HGDIOBJ kept = SelectObject(dcTempBuffer, bmapTempBuffer);
    uint32_t pixel = 0x12345678;
    r(BitBlt(dcTempBuffer, 0, 0, 1, 1, dcActive, x, y, SRCCOPY));
    r(GetDIBits(dcActive, bmapTempBuffer, 0, 1, &pixel, &bmi, DIB_RGB_COLORS));
    r(pixel & 0xFFFFFF);
    SelectObject(dcTempBuffer, kept);
    r(DeleteObject(bmapTempBuffer));
    r(DeleteDC(dcTempBuffer));
}

// Captures a block the way the library stores an image, then shows it at (x2, y2).
void StoreAndDraw(HDC dcActive, int x, int y, int w, int h, int x2, int y2, Results &r)
{
    BITMAPINFO bmi = TopDown(w, h);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h + 1, 0x00FF00FF);
    HDC dcTempBuffer = CreateCompatibleDC(dcActive);
    HBITMAP bmapTempBuffer = CreateCompatibleBitmap(dcActive, w, h);
    HGDIOBJ kept = SelectObject(dcTempBuffer, bmapTempBuffer);
    r(BitBlt(dcTempBuffer, 0, 0, w, h, dcActive, x, y, SRCCOPY));
    r(GetDIBits(dcActive, bmapTempBuffer, 0, h, pixels.data(), &bmi, DIB_RGB_COLORS));
    SelectObject(dcTempBuffer, kept);
    DeleteObject(bmapTempBuffer);
    DeleteDC(dcTempBuffer);
    if (w > 0 && h > 0)
        r(SetDIBitsToDevice(dcActive, x2, y2, w, h, 0, 0, 0, h, pixels.data(), &bmi, DIB_RGB_COLORS));
}

void AddSurfaces(std::vector<Group> &out)
{
    Group g{"library-surfaces", 40, 40, {}};
    g.Add("double-buffer-clear-draw-update", [](HDC dc, Results &r) {
        // Switching on: a discardable bitmap and a memory DC, cleared with a white
        // rectangle that leaves the last column and row as the bitmap held them.
        const int w = 40, h = 40;
        HBITMAP bmapBuffer = CreateDiscardableBitmap(dc, w, h);
        HDC dcActive = CreateCompatibleDC(dc);
        HGDIOBJ bmapInitial = SelectObject(dcActive, bmapBuffer);
        {
            Window win(dcActive, RGB(255, 255, 255), 1, RGB(255, 255, 255));
            win.Rectangle(r, 0, 0, w - 1, h - 1, kFilled, 0, 0);
        }
        {
            Window win(dcActive, kPen, 3, kBrush);
            win.Ellipse(r, 5, 5, 35, 30, kFilled);
        }
        // Nothing reaches the screen until the copy, which leaves out the last column and row.
        r(BitBlt(dc, 0, 0, w - 1, h - 1, dcActive, 0, 0, SRCCOPY));
        SelectObject(dcActive, bmapInitial);
        r(DeleteDC(dcActive));
        r(DeleteObject(bmapBuffer));
    }, Background::Pattern);
    g.Add("double-buffer-partial-view", [](HDC dc, Results &r) {
        // The buffer's own last column and row, copied with an extra blit to show them.
        const int w = 20, h = 20;
        HBITMAP bmapBuffer = CreateDiscardableBitmap(dc, w, h);
        HDC dcActive = CreateCompatibleDC(dc);
        HGDIOBJ bmapInitial = SelectObject(dcActive, bmapBuffer);
        {
            Window win(dcActive, RGB(255, 255, 255), 1, RGB(255, 255, 255));
            win.Rectangle(r, 0, 0, w - 1, h - 1, kFilled, 0, 0);
        }
        r(BitBlt(dc, 2, 2, w, h, dcActive, 0, 0, SRCCOPY));
        SelectObject(dcActive, bmapInitial);
        DeleteDC(dcActive);
        DeleteObject(bmapBuffer);
    });
    g.Add("get-color", [](HDC dc, Results &r) {
        Window win(dc, kPen, 1, RGB(10, 20, 30));
        win.Rectangle(r, 0, 0, 20, 20, kFilled, 0, 0);
        const int points[][2] = {{5, 5}, {0, 0}, {19, 19}, {20, 20}, {39, 39}, {-1, 5}, {5, -1}, {40, 0}, {0, 40}, {-100000, 7}};
        for (const auto &p : points)
            GetColor(dc, p[0], p[1], r);
    });
    g.Add("store-image-and-draw", [](HDC dc, Results &r) {
        Window win(dc, kPen, 1, kBrush);
        win.Ellipse(r, 2, 2, 18, 14, kFilled);
        StoreAndDraw(dc, 0, 0, 20, 16, 16, 20, r);
    });
    g.Add("store-image-edges", [](HDC dc, Results &r) {
        StoreAndDraw(dc, 30, 30, 10, 10, 2, 2, r);  // ends exactly on the edge
        StoreAndDraw(dc, 35, 35, 10, 10, 20, 2, r); // reaches past it
        StoreAndDraw(dc, 5, 5, 0, 10, 2, 20, r);    // empty
        StoreAndDraw(dc, 5, 5, 10, 0, 2, 20, r);
    }, Background::Pattern);
    g.Add("draw-image-natural-and-scaled", [](HDC dc, Results &r) {
        std::vector<uint32_t> pic(6 * 4);
        for (size_t i = 0; i < pic.size(); ++i)
            pic[i] = static_cast<uint32_t>(0x200000 * (i % 6) + 0x003000 * (i / 6) + (i % 2 ? 0xF0 : 0x40));
        BITMAPINFO bmi = TopDown(6, 4);
        r(SetDIBitsToDevice(dc, 1, 1, 6, 4, 0, 0, 0, 4, pic.data(), &bmi, DIB_RGB_COLORS));
        r(StretchDIBits(dc, 9, 1, 12, 8, 0, 0, 6, 4, pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
        r(StretchDIBits(dc, 1, 11, 4, 3, 0, 0, 6, 4, pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
        r(StretchDIBits(dc, 22, 11, 17, 11, 0, 0, 6, 4, pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
        r(StretchDIBits(dc, 1, 24, -6, 8, 0, 0, 6, 4, pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
        r(StretchDIBits(dc, 20, 24, 12, -8, 0, 0, 6, 4, pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
        r(SetDIBitsToDevice(dc, 36, 36, 6, 4, 0, 0, 0, 4, pic.data(), &bmi, DIB_RGB_COLORS));
    });
    out.push_back(std::move(g));
}

} // namespace

void AddSequenceGroups(std::vector<Group> &out)
{
    AddShapes(out);
    AddSurfaces(out);
}

} // namespace scene
