// Reading pixels back: the calls of one read in order, colours from the screen and from
// the back buffer, the component forms, black for pixels off the drawing area or not
// read, the error lines of each failed step, and a header that cannot be had.
#include "drawing.h"

#include "../images/allocation_failures.h"

#include <climits>

namespace {

TEST_F(DrawingTest, AReadMakesATemporaryContextAndBitmapAndDeletesThem)
{
    auto w = OpenQuiet();
    w->SetBrush(color(10, 20, 30));
    w->DrawRectangle(0, 0, 20, 20, STYLE_FILLED, 0, 0);
    const std::string dc = Hex(WindowInspector::Active(*w));
    const int objects = hooks::LiveObjectCount();

    hooks::StartCallLog();
    const color pixel = w->GetColor(5, 6);
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    EXPECT_TRUE(Same(pixel, color(10, 20, 30)));
    EXPECT_EQ(hooks::LiveObjectCount(), objects);

    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0], "CreateCompatibleDC(" + dc + ")");
    EXPECT_EQ(log[1], "CreateCompatibleBitmap(" + dc + ",1,1)");
    // The temporary context and bitmap, as the later calls name them.
    const std::string temp = log[2].substr(13, log[2].find(',') - 13);
    const std::string bitmap = log[2].substr(log[2].find(',') + 1, log[2].size() - log[2].find(',') - 2);
    EXPECT_EQ(log[3], PumpLine(*w));
    EXPECT_EQ(log[4], "BitBlt(" + temp + ",0,0,1,1," + dc + ",5,6,0xCC0020)");
    EXPECT_EQ(log[5].rfind("GetDIBits(" + dc + "," + bitmap + ",0,1,0x", 0), 0u) << log[5];
    EXPECT_EQ(log[5].substr(log[5].size() - 3), ",0)");
    EXPECT_EQ(log[6].rfind("SelectObject(" + temp + ",0x", 0), 0u) << log[6];
    EXPECT_EQ(log[7], "DeleteObject(" + bitmap + ")");
    EXPECT_EQ(log[8], "DeleteDC(" + temp + ")");
}

TEST_F(DrawingTest, ComponentFormsDivideBy255AndEachReadsAfresh)
{
    auto w = OpenQuiet();
    w->SetPen(color(255, 0, 128), 1);
    w->SetBrush(color(255, 0, 128));
    w->DrawRectangle(0, 0, 10, 10, STYLE_FILLED);
    w->SetPen(BLACK, 1);
    w->SetBrush(BLACK);
    w->DrawRectangle(10, 0, 20, 10, STYLE_FILLED);

    hooks::StartCallLog();
    EXPECT_EQ(w->GetRed(5, 5), 1.0);
    EXPECT_EQ(w->GetGreen(5, 5), 0.0);
    EXPECT_EQ(w->GetBlue(5, 5), 128 / 255.0);
    EXPECT_EQ(CountCalls(hooks::StopCallLog(), "BitBlt"), 3);

    double red = -1, green = -1, blue = -1;
    w->GetColor(50, 50, red, green, blue); // the white background
    EXPECT_EQ(red, 1.0);
    EXPECT_EQ(green, 1.0);
    EXPECT_EQ(blue, 1.0);
    w->GetColor(15, 5, red, green, blue);
    EXPECT_EQ(red, 0.0);
    EXPECT_EQ(green, 0.0);
    EXPECT_EQ(blue, 0.0);
}

TEST_F(DrawingTest, WhileBufferingAPixelReadsAsDrawnBeforeItIsShown)
{
    auto w = OpenQuiet();
    w->SetBuffering(true);
    w->SetPen(RED, 1);
    w->DrawPixel(30, 40);
    EXPECT_TRUE(Same(w->GetColor(30, 40), RED));
    EXPECT_EQ(Screen(*w).At(30, 40), 0xFFFFFFu);
    w->UpdateBuffer();
    EXPECT_EQ(Screen(*w).At(30, 40), 0xFF0000u);
    w->SetBuffering(false);
    EXPECT_TRUE(Same(w->GetColor(30, 40), RED));
}

TEST_F(DrawingTest, PixelsOffTheDrawingAreaReadAsBlack)
{
    for (bool buffering : {false, true}) {
        SCOPED_TRACE(buffering ? "buffer" : "screen");
        auto w = OpenQuiet(200, 100);
        w->SetBuffering(buffering);
        Paint(*w, color(40, 50, 60));
        EXPECT_TRUE(Same(w->GetColor(0, 0), color(40, 50, 60)));
        EXPECT_TRUE(Same(w->GetColor(199, 99), color(40, 50, 60)));
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {200, 0}, {0, 100}, {INT_MIN, INT_MAX}, {INT_MAX, 5}}) {
            const std::string printed = Printed([&] { EXPECT_TRUE(Same(w->GetColor(x, y), BLACK)) << x << ", " << y; });
            EXPECT_EQ(printed, "");
        }
    }
}

TEST_F(DrawingTest, AFailedStepIsReportedAndTheReadGoesOn)
{
    auto w = OpenQuiet();
    Paint(*w, color(40, 50, 60));
    const int objects = hooks::LiveObjectCount();

    // A pixel the device did not give reads as black.
    hooks::FailNextCall("BitBlt");
    std::string printed = Printed([&] { EXPECT_TRUE(Same(w->GetColor(5, 5), BLACK)); });
    EXPECT_EQ(printed, "Fatal Error: Failed to BltBit in GetColor!\n");
    hooks::FailNextCall("GetDIBits");
    printed = Printed([&] { EXPECT_TRUE(Same(w->GetColor(5, 5), BLACK)); });
    EXPECT_EQ(printed, "Fatal Error: Failed to GetDIBits in GetColor!\n");
    EXPECT_EQ(hooks::LiveObjectCount(), objects);

    // Failed deletions do not spoil the colour read.
    hooks::FailNextCall("DeleteObject");
    hooks::FailNextCall("DeleteDC");
    printed = Printed([&] { EXPECT_TRUE(Same(w->GetColor(5, 5), color(40, 50, 60))); });
    EXPECT_EQ(printed, "Fatal Error: Failed to delete bmapTempBuffer in GetColor!\n"
                       "Fatal Error: Failed to delete dcTempBuffer in GetColor!\n");

    hooks::FailNextCall("BitBlt");
    hooks::FailNextCall("GetDIBits");
    hooks::FailNextCall("DeleteObject");
    hooks::FailNextCall("DeleteDC");
    printed = Printed([&] { w->GetColor(5, 5); });
    EXPECT_EQ(printed, "Fatal Error: Failed to BltBit in GetColor!\n"
                       "Fatal Error: Failed to GetDIBits in GetColor!\n"
                       "Fatal Error: Failed to delete bmapTempBuffer in GetColor!\n"
                       "Fatal Error: Failed to delete dcTempBuffer in GetColor!\n");
}

TEST_F(DrawingTest, AReadWithoutMemoryForItsHeaderThrowsBeforeMakingAnything)
{
    auto w = OpenQuiet();
    const int objects = hooks::LiveObjectCount();
    hooks::StartCallLog();
    allocations::Start(1);
    try {
        w->GetColor(1, 1);
        ADD_FAILURE() << "no exception";
    } catch (error e) {
        EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
    }
    EXPECT_EQ(allocations::Stop(), std::vector<size_t>{40});
    EXPECT_TRUE(hooks::StopCallLog().empty());
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
}

} // namespace
