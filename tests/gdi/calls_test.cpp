// The Win32 drawing calls on DCs: GDI's return values, checked handles, injected failures
// and the call log; DIB transfers in and out.
#include <standin/testhooks.h>
#include <standin/win32.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

BITMAPINFO TopDown32(int w, int h)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// A memory DC holding a w x h colour bitmap, filled with one colour.
class Canvas {
public:
    Canvas(int w, int h, uint32_t fill = 0x102030) : w_(w), h_(h)
    {
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateCompatibleBitmap(screen_, w, h);
        initial_ = SelectObject(dc_, bitmap_);
        std::vector<uint32_t> px(static_cast<size_t>(w) * h, fill);
        BITMAPINFO bmi = TopDown32(w, h);
        SetDIBitsToDevice(dc_, 0, 0, w, h, 0, 0, 0, h, px.data(), &bmi, DIB_RGB_COLORS);
    }
    ~Canvas()
    {
        SelectObject(dc_, initial_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
    }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> px(static_cast<size_t>(w_) * h_);
        BITMAPINFO bmi = TopDown32(w_, h_);
        GetDIBits(screen_, bitmap_, 0, h_, px.data(), &bmi, DIB_RGB_COLORS);
        return px;
    }
    uint32_t At(int x, int y) const { return Pixels()[static_cast<size_t>(y) * w_ + x] & 0xFFFFFF; }

private:
    int w_, h_;
    HDC screen_, dc_;
    HBITMAP bitmap_;
    HGDIOBJ initial_;
};

class Calls : public ::testing::Test {
protected:
    void SetUp() override { standin::test::ClearFailures(); }
    void TearDown() override { standin::test::ClearFailures(); }
};

const POINT kTriangle[3] = {{1, 1}, {9, 1}, {1, 5}};

} // namespace

TEST_F(Calls, EveryFigureFailsOnABadDcAndSucceedsOnEmptyFigures)
{
    HDC bad = reinterpret_cast<HDC>(0x1234);
    EXPECT_FALSE(LineTo(bad, 1, 1));
    EXPECT_FALSE(Rectangle(bad, 0, 0, 5, 5));
    EXPECT_FALSE(RoundRect(bad, 0, 0, 5, 5, 2, 2));
    EXPECT_FALSE(Ellipse(nullptr, 0, 0, 5, 5));
    EXPECT_FALSE(Arc(nullptr, 0, 0, 5, 5, 1, 1, 1, 1));
    EXPECT_FALSE(Pie(nullptr, 0, 0, 5, 5, 1, 1, 1, 1));
    EXPECT_FALSE(Polygon(nullptr, kTriangle, 3));
    EXPECT_FALSE(InvertRgn(nullptr, nullptr));
    EXPECT_EQ(SetPolyFillMode(nullptr, WINDING), 0);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);

    Canvas c(16, 16);
    const std::vector<uint32_t> before = c.Pixels();
    EXPECT_TRUE(Rectangle(c.dc(), 3, 3, 3, 9));
    EXPECT_TRUE(Ellipse(c.dc(), 5, 5, 5, 5));
    EXPECT_TRUE(Pie(c.dc(), 2, 2, 2, 2, 0, 0, 0, 0));
    EXPECT_TRUE(LineTo(c.dc(), 0, 0)); // from (0,0): nothing
    EXPECT_EQ(c.Pixels(), before);
}

TEST_F(Calls, CountsAndModesAreChecked)
{
    Canvas c(16, 16);
    EXPECT_FALSE(Polygon(c.dc(), kTriangle, 1));
    EXPECT_FALSE(Polyline(c.dc(), kTriangle, 1));
    const POINT bez[7] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    EXPECT_FALSE(PolyBezier(c.dc(), bez, 3));
    EXPECT_FALSE(PolyBezier(c.dc(), bez, 1));
    EXPECT_TRUE(PolyBezier(c.dc(), bez, 7));
    EXPECT_EQ(SetPolyFillMode(c.dc(), 3), 0);
    EXPECT_EQ(SetPolyFillMode(c.dc(), WINDING), ALTERNATE);
    EXPECT_EQ(SetPolyFillMode(c.dc(), ALTERNATE), WINDING);
    EXPECT_EQ(SetStretchBltMode(c.dc(), 0), 0);
    EXPECT_EQ(SetStretchBltMode(c.dc(), COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(SetArcDirection(c.dc(), AD_CLOCKWISE), AD_COUNTERCLOCKWISE);
}

TEST_F(Calls, LineToMovesTheCurrentPositionAndPixelsReadBack)
{
    Canvas c(16, 16);
    POINT old{-1, -1};
    EXPECT_TRUE(MoveToEx(c.dc(), 2, 3, &old));
    EXPECT_EQ(old.x, 0);
    EXPECT_TRUE(LineTo(c.dc(), 6, 3));
    EXPECT_TRUE(MoveToEx(c.dc(), 0, 0, &old));
    EXPECT_EQ(old.x, 6);
    EXPECT_EQ(old.y, 3);
    EXPECT_EQ(GetPixel(c.dc(), 2, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc(), 6, 3), RGB(0x10, 0x20, 0x30)); // the end is left out
    EXPECT_EQ(GetPixel(c.dc(), 16, 3), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 1, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(c.At(1, 1), 0x010203u);
}

TEST_F(Calls, InjectedFailuresDrawNothingAndAreLogged)
{
    Canvas c(16, 16);
    const std::vector<uint32_t> before = c.Pixels();
    standin::test::FailNextCall("Rectangle");
    standin::test::FailNextCall("Ellipse");
    standin::test::FailNextCall("Polygon");
    standin::test::FailNextCall("InvertRgn");
    standin::test::FailNextCall("PolyBezier");
    standin::test::StartCallLog();
    EXPECT_FALSE(Rectangle(c.dc(), 1, 1, 9, 9));
    EXPECT_FALSE(Ellipse(c.dc(), 1, 1, 9, 9));
    EXPECT_FALSE(Polygon(c.dc(), kTriangle, 3));
    HRGN rgn = CreateEllipticRgn(0, 0, 8, 8);
    EXPECT_FALSE(InvertRgn(c.dc(), rgn));
    const POINT bez[4] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    EXPECT_FALSE(PolyBezier(c.dc(), bez, 4));
    const std::vector<std::string> log = standin::test::StopCallLog();
    EXPECT_EQ(c.Pixels(), before);
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0].rfind("Rectangle(0x", 0), 0u);
    EXPECT_NE(log[0].find(",1,1,9,9)"), std::string::npos);
    EXPECT_EQ(log[3], "CreateEllipticRgn(0,0,8,8)");
    // The next calls work again.
    EXPECT_TRUE(Rectangle(c.dc(), 1, 1, 9, 9));
    EXPECT_TRUE(InvertRgn(c.dc(), rgn));
    EXPECT_TRUE(DeleteObject(rgn));
}

TEST_F(Calls, CompatibleBitmapsTakeTheDcsFormatAndStartBlack)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, 3, 3);
    HBITMAP mono = CreateCompatibleBitmap(mem, 3, 3); // the fresh DC holds a monochrome bitmap
    HBITMAP none = CreateCompatibleBitmap(screen, 0, 5);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 3, 3), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, -3, 3), nullptr);
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(screen, colour, 0, 3, nullptr, &bmi, DIB_RGB_COLORS), 0);
    EXPECT_EQ(bmi.bmiHeader.biBitCount, 32);
    EXPECT_EQ(bmi.bmiHeader.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(bmi.bmiHeader.biSizeImage, 36u);
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    GetDIBits(screen, mono, 0, 3, nullptr, &bmi, DIB_RGB_COLORS);
    EXPECT_EQ(bmi.bmiHeader.biBitCount, 1);
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    GetDIBits(screen, none, 0, 1, nullptr, &bmi, DIB_RGB_COLORS);
    EXPECT_EQ(bmi.bmiHeader.biWidth, 1);

    // Zero-filled, and reading past the last scan line copies only what exists.
    bmi = TopDown32(3, 3);
    std::vector<uint32_t> px(9, 0xDEADBEEF);
    EXPECT_EQ(GetDIBits(screen, colour, 1, 5, px.data(), &bmi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(px[0], 0u);
    EXPECT_EQ(px[6], 0xDEADBEEFu);
    for (HBITMAP b : {colour, mono, none}) DeleteObject(b);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST_F(Calls, BlitsNeedASourceOnlyWhenTheRopReadsOne)
{
    Canvas dst(8, 8, 0x0000FF), src(4, 4, 0x00FF00);
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 2, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.At(1, 1), 0u);
    EXPECT_TRUE(BitBlt(dst.dc(), 6, 6, 4, 4, src.dc(), 0, 0, SRCCOPY)); // cut by the destination
    EXPECT_EQ(dst.At(7, 7), 0x00FF00u);
    EXPECT_TRUE(BitBlt(dst.dc(), 2, 2, 2, 2, src.dc(), 0, 0, DSTINVERT));
    EXPECT_EQ(dst.At(2, 2), 0xFFFF00u);
    // StretchBlt to one pixel merges one source pixel fewer: 2 -> 1 takes the first only.
    Canvas two(2, 1, 0);
    SetPixel(two.dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(two.dc(), 1, 0, RGB(0, 255, 0));
    EXPECT_TRUE(StretchBlt(dst.dc(), 0, 7, 1, 1, two.dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.At(0, 7), 0xFF0000u);

    // A rop that mixes in the source reads another bitmap where it is, and its own
    // surface as it was before the blit began, overlapping or not.
    Canvas mixed(4, 1, 0x000000);
    SetPixel(mixed.dc(), 0, 0, RGB(0, 0, 255));
    EXPECT_TRUE(BitBlt(mixed.dc(), 1, 0, 3, 1, mixed.dc(), 0, 0, SRCINVERT));
    EXPECT_EQ(mixed.At(0, 0), 0x0000FFu);
    EXPECT_EQ(mixed.At(1, 0), 0x0000FFu); // black ^ blue, the source pixel as it was
    EXPECT_EQ(mixed.At(2, 0), 0x000000u); // black ^ black, not the blue just written
    EXPECT_TRUE(BitBlt(mixed.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCINVERT));
    EXPECT_EQ(mixed.At(0, 0), 0x00FFFFu); // blue ^ green
    // No height or no width: nothing read, nothing written, and no failure.
    EXPECT_TRUE(BitBlt(mixed.dc(), 0, 0, 4, 0, src.dc(), 0, 0, SRCINVERT));
    EXPECT_TRUE(StretchBlt(mixed.dc(), 0, 0, 0, 1, src.dc(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(mixed.At(0, 0), 0x00FFFFu);
}

TEST_F(Calls, MonochromeTargetsAndSources)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP mono = CreateCompatibleBitmap(mem, 4, 1);
    HGDIOBJ old = SelectObject(mem, mono);
    Canvas colour(4, 1, 0xFFFFFF);
    SetPixel(colour.dc(), 1, 0, RGB(10, 20, 30));
    // Colour to monochrome: the source DC's background colour (white) becomes white.
    EXPECT_TRUE(BitBlt(mem, 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mem, 1, 0), RGB(0, 0, 0));
    // Monochrome to colour: black becomes the text colour, white the background colour.
    SetTextColor(colour.dc(), RGB(200, 0, 0));
    EXPECT_TRUE(BitBlt(colour.dc(), 0, 0, 4, 1, mem, 0, 0, SRCCOPY));
    EXPECT_EQ(colour.At(1, 0), 0xC80000u);
    EXPECT_EQ(colour.At(0, 0), 0xFFFFFFu);
    SelectObject(mem, old);
    DeleteObject(mono);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST_F(Calls, EllipticRegionBoxesStopOneShortOfTheirRightAndBottom)
{
    HRGN e = CreateEllipticRgn(1, 1, 11, 9);
    RECT box;
    EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{1, 1, 10, 8}));
    EXPECT_TRUE(DeleteObject(e));
}
