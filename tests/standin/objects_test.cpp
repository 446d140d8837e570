// GDI objects and DCs: checked handles, stock objects, selection and deletion rules.
#include <cstdlib>
#include "fixture.h"

#include "gdi/dc.h"

#include <climits>
#include <cstring>
#include <memory>

using standin::test::LiveObjectCount;

class ObjectsTest : public StandinTest {};

namespace {

// Bitmap creation calls belong to the blitting code; a plain one is enough here.
HBITMAP MakeBitmap(int width, int height)
{
    auto b = std::make_unique<standin::gdi::Bitmap>();
    b->surface = standin::gdi::Surface(width, height);
    return static_cast<HBITMAP>(standin::gdi::Register(std::move(b)));
}

} // namespace

TEST_F(ObjectsTest, NullStaleAndWrongKindHandlesFailWithEachCallsFailureValue)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    ASSERT_TRUE(dc && pen && brush);
    ASSERT_EQ(DeleteObject(pen), TRUE);
    HPEN stalePen = pen;

    // Null handles.
    EXPECT_EQ(SelectObject(nullptr, brush), nullptr);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(DeleteObject(nullptr), FALSE);
    EXPECT_EQ(DeleteDC(nullptr), FALSE);
    EXPECT_EQ(SetROP2(nullptr, R2_NOT), 0);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);

    // A stale handle, also once its slot is reused by a new object.
    HPEN reused = CreatePen(PS_SOLID, 2, 0);
    EXPECT_NE(reused, stalePen);
    EXPECT_EQ(SelectObject(dc, stalePen), nullptr);
    EXPECT_EQ(DeleteObject(stalePen), FALSE);

    // Wrong kinds: an object where a DC belongs, a DC where an object belongs.
    EXPECT_EQ(SetROP2(reinterpret_cast<HDC>(brush), R2_NOT), 0);
    EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(reused), 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr);
    EXPECT_EQ(DeleteObject(reinterpret_cast<HGDIOBJ>(dc)), FALSE);
    EXPECT_EQ(DeleteDC(reinterpret_cast<HDC>(brush)), FALSE);
    // Pointers that were never handles at all.
    int notAHandle = 0;
    EXPECT_EQ(DeleteObject(&notAHandle), FALSE);
    EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(0x7FFFFFF1)), nullptr);

    // Nothing above changed what the DC holds.
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    EXPECT_EQ(DeleteObject(reused), TRUE);
    EXPECT_EQ(DeleteObject(brush), TRUE);
    EXPECT_EQ(DeleteDC(dc), TRUE);
    EXPECT_EQ(DeleteDC(dc), FALSE);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(ObjectsTest, StockObjectsAreFixedAndSurviveDeletion)
{
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                  NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT})
        EXPECT_NE(GetStockObject(i), nullptr) << i;
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(40), nullptr);

    // Deleting a stock object reports success and changes nothing.
    EXPECT_EQ(DeleteObject(white), TRUE);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(dc, white), nullptr);
    EXPECT_EQ(LiveObjectCount(), 1); // the DC; stock objects are not counted
    DeleteDC(dc);
}

TEST_F(ObjectsTest, FreshDcHoldsGdiDefaultsAndSelectObjectReturnsThePreviousOfEachKind)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 3, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    LOGFONTA lf{};
    lf.lfHeight = 10;
    HFONT font = CreateFontIndirectA(&lf);

    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
    // Each kind has its own slot: selecting a brush did not displace the pen.
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), brush);
    EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), font);

    EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
    EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_NOT);
    EXPECT_EQ(SetROP2(dc, 0), 0);
    EXPECT_EQ(SetROP2(dc, 17), 0);
    EXPECT_EQ(SetROP2(dc, R2_WHITE), R2_COPYPEN); // the refused modes changed nothing
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));

    EXPECT_EQ(LiveObjectCount(), 4);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
    DeleteDC(dc);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(ObjectsTest, DeletingASelectedObjectSucceedsAndTakesEffectWhenDeselected)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(dc, pen);
    EXPECT_EQ(DeleteObject(pen), TRUE);
    // Still usable while selected; it goes as soon as the DC lets go of it.
    EXPECT_EQ(LiveObjectCount(), 2);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(LiveObjectCount(), 1);
    EXPECT_EQ(SelectObject(dc, pen), nullptr);

    // Deleting the DC lets go of everything it holds.
    HBRUSH brush = CreateSolidBrush(0);
    SelectObject(dc, brush);
    DeleteObject(brush);
    EXPECT_EQ(DeleteDC(dc), TRUE);
    EXPECT_EQ(LiveObjectCount(), 0);
    EXPECT_EQ(DeleteObject(brush), FALSE);
}

TEST_F(ObjectsTest, AProgramMayEndWithDcsStillHoldingADeletedBitmapAndPens)
{
    // The objects go with the process; tearing them down at exit must not crash.
    auto endWithObjectsAlive = [] {
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
        HDC first = CreateCompatibleDC(screen);
        HDC second = CreateCompatibleDC(screen);
        SelectObject(second, bmp);
        SelectObject(first, CreatePen(PS_SOLID, 3, 0));
        DeleteObject(bmp);
        std::exit(0);
    };
    EXPECT_EXIT(endWithObjectsAlive(), ::testing::ExitedWithCode(0), "");
}

TEST_F(ObjectsTest, PenAndFontCreationNormaliseTheirArguments)
{
    // A negative width is kept as its size: the pen is as wide as one made with +3.
    HPEN negative = CreatePen(PS_SOLID, -3, RGB(9, 9, 9));
    ASSERT_NE(negative, nullptr);
    // PS_NULL gives the stock null pen, which nobody owns.
    EXPECT_EQ(CreatePen(PS_NULL, 4, RGB(1, 1, 1)), GetStockObject(NULL_PEN));
    EXPECT_EQ(LiveObjectCount(), 1);

    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    LOGFONTA lf{};
    lf.lfHeight = 20;
    lf.lfWeight = FW_BOLD;
    std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName); // no terminator at all
    standin::test::StartCallLog();
    HFONT font = CreateFontIndirectA(&lf);
    auto log = standin::test::StopCallLog();
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(log.size(), 1u);
    // The log shows what the caller passed, cut at the field's end.
    EXPECT_EQ(log[0], "CreateFontIndirectA({20,0,0,0,700,0,0,0,0,0,0,0,0x0," + std::string(32, 'x') + "})");
    DeleteObject(font);
    DeleteObject(negative);
    EXPECT_EQ(LiveObjectCount(), 0);

    // The most negative width has no size in an int: the pen is the widest there is, and
    // a line through a bitmap with it covers all of it.
    HPEN widest = CreatePen(PS_SOLID, INT_MIN, RGB(0, 0, 255));
    ASSERT_NE(widest, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldPen = SelectObject(dc, widest);
    MoveToEx(dc, 0, 3, nullptr);
    LineTo(dc, 7, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), RGB(0, 0, 255)) << x << "," << y;
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(widest);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(ObjectsTest, BitmapsGoIntoOneMemoryDcAtATime)
{
    HWND hwnd = MakeWindow();
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(a);
    HDC window = GetDC(hwnd);
    ASSERT_TRUE(a && b && window);
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(0x12345)), nullptr);

    HBITMAP bitmap = MakeBitmap(4, 3);
    HGDIOBJ stockBitmap = SelectObject(a, bitmap);
    ASSERT_NE(stockBitmap, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);      // already in a
    EXPECT_EQ(SelectObject(window, bitmap), nullptr); // window DCs draw on their window
    EXPECT_EQ(standin::gdi::TargetSurface(*standin::gdi::FindDC(a))->width, 4);
    // The stock bitmap of fresh memory DCs may sit in several at once.
    EXPECT_EQ(SelectObject(b, stockBitmap), stockBitmap);
    EXPECT_EQ(SelectObject(a, stockBitmap), bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), stockBitmap); // free again, so b may take it

    EXPECT_EQ(DeleteObject(bitmap), TRUE); // deferred while b holds it
    EXPECT_EQ(LiveObjectCount(), 4);
    EXPECT_EQ(DeleteDC(b), TRUE);
    EXPECT_EQ(LiveObjectCount(), 2);
    EXPECT_EQ(DeleteDC(window), FALSE); // GetDC's DCs go back with ReleaseDC
    EXPECT_EQ(ReleaseDC(hwnd, window), 1);
    EXPECT_EQ(DeleteDC(a), TRUE);
    EXPECT_EQ(LiveObjectCount(), 0);
    DestroyWindow(hwnd);
}
