// Double buffering: the calls that switch it on and off, the white clear of a new
// buffer, what reaches the screen and when, the error lines of a failed switch or copy,
// and a window destroyed while buffering.
#include "drawing.h"

namespace {

const uint32_t white = 0xFFFFFF, red = 0xFF0000, blue = 0x0000FF;

// How many pixels of the screen differ from what the block rule expects: inside
// [0,width)x[0,height) one colour, outside it another.
int Mismatches(const Screen &screen, int width, int height, uint32_t inside, uint32_t outside)
{
    int wrong = 0;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x)
            wrong += screen.At(x, y) != (x < width && y < height ? inside : outside);
    }
    return wrong;
}

TEST_F(DrawingTest, SwitchingOnMakesABufferAndClearsItWithAWhiteRectangle)
{
    auto w = OpenQuiet(200, 100);
    w->SetPen(RED, 7);
    w->SetBrush(BLUE);
    const HDC screen = WindowInspector::Screen(*w);
    const HPEN oldPen = WindowInspector::Pen(*w);
    const HBRUSH oldBrush = WindowInspector::Brush(*w);

    hooks::StartCallLog();
    EXPECT_FALSE(w->SetBuffering(true));
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());

    const HDC memory = WindowInspector::Active(*w);
    const std::string mem = Hex(memory);
    const std::string bitmap = Hex(WindowInspector::Buffer(*w));
    EXPECT_NE(memory, screen);
    EXPECT_EQ(WindowInspector::Screen(*w), screen);
    std::vector<std::string> expected = {
        PumpLine(*w),
        "CreateDiscardableBitmap(" + Hex(screen) + ",200,100)",
        "CreateCompatibleDC(" + Hex(screen) + ")",
        "SelectObject(" + mem + "," + bitmap + ")",
        PumpLine(*w),
        "DeleteObject(" + Hex(oldPen) + ")",
        "SetTextColor(" + mem + ",0xFFFFFF)",
        "CreatePen(6,1,0xFFFFFF)",
        PumpLine(*w),
        "DeleteObject(" + Hex(oldBrush) + ")",
        "CreateSolidBrush(0xFFFFFF)",
    };
    for (const std::string &line : Selected(*w, STYLE_FILLED, "Rectangle(" + mem + ",0,0,199,99)"))
        expected.push_back(line);
    EXPECT_EQ(log, expected);

    // The colours in force before are not brought back.
    EXPECT_EQ(WindowInspector::PenWidth(*w), 1);
    EXPECT_TRUE(Same(w->SetPen(BLACK, 1), WHITE));
    EXPECT_TRUE(Same(w->SetBrush(BLACK), WHITE));
}

TEST_F(DrawingTest, SwitchingToTheStateInForceDoesNothingButPump)
{
    auto w = OpenQuiet();
    const HDC screen = WindowInspector::Screen(*w);
    hooks::StartCallLog();
    EXPECT_FALSE(w->SetBuffering(false));
    w->UpdateBuffer(); // nothing to copy while off
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()), (std::vector<std::string>{PumpLine(*w), PumpLine(*w)}));
    EXPECT_EQ(WindowInspector::Active(*w), screen);

    const int objects = hooks::LiveObjectCount();
    EXPECT_FALSE(w->SetBuffering(true));
    const int buffering = hooks::LiveObjectCount();
    EXPECT_EQ(buffering, objects + 2); // the memory context and its bitmap
    hooks::StartCallLog();
    EXPECT_TRUE(w->SetBuffering(true));
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()), std::vector<std::string>{PumpLine(*w)});
    EXPECT_EQ(hooks::LiveObjectCount(), buffering);
}

TEST_F(DrawingTest, SwitchingOffPutsTheOldBitmapBackAndDeletesTheBuffer)
{
    auto w = OpenQuiet();
    const int objects = hooks::LiveObjectCount();
    w->SetBuffering(true);
    const std::string mem = Hex(WindowInspector::Active(*w));
    const std::string bitmap = Hex(WindowInspector::Buffer(*w));

    hooks::StartCallLog();
    EXPECT_TRUE(w->SetBuffering(false));
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], PumpLine(*w));
    EXPECT_EQ(log[1].rfind("SelectObject(" + mem + ",0x", 0), 0u);
    EXPECT_NE(log[1], "SelectObject(" + mem + "," + bitmap + ")");
    EXPECT_EQ(log[2], "DeleteDC(" + mem + ")");
    EXPECT_EQ(log[3], "DeleteObject(" + bitmap + ")");
    EXPECT_EQ(WindowInspector::Active(*w), WindowInspector::Screen(*w));
    EXPECT_EQ(WindowInspector::Buffer(*w), nullptr);
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
}

TEST_F(DrawingTest, TheScreenShowsTheBufferOnlyAtUpdateAndNeverItsLastColumnAndRow)
{
    auto w = OpenQuiet(200, 100);
    Paint(*w, BLUE);
    w->SetBuffering(true);
    EXPECT_EQ(Mismatches(Screen(*w), 200, 100, blue, blue), 0);

    // The clear leaves the new bitmap's last column and row as they came: black.
    EXPECT_TRUE(Same(w->GetColor(198, 98), WHITE));
    EXPECT_TRUE(Same(w->GetColor(199, 50), BLACK));
    EXPECT_TRUE(Same(w->GetColor(50, 99), BLACK));
    w->UpdateBuffer();
    EXPECT_EQ(Mismatches(Screen(*w), 199, 99, white, blue), 0);

    Paint(*w, RED);
    EXPECT_EQ(Mismatches(Screen(*w), 199, 99, white, blue), 0);
    hooks::StartCallLog();
    w->UpdateBuffer();
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()),
              (std::vector<std::string>{PumpLine(*w), "BitBlt(" + Hex(WindowInspector::Screen(*w)) +
                                                          ",0,0,199,99," + Hex(WindowInspector::Active(*w)) +
                                                          ",0,0,0xCC0020)"}));
    EXPECT_EQ(Mismatches(Screen(*w), 199, 99, red, blue), 0);

    // Switching off drops what was drawn since; drawing then goes straight to the screen.
    w->SetBrush(color(0, 255, 0));
    w->DrawRectangle(0, 0, 50, 50, STYLE_FILLED);
    w->SetBuffering(false);
    EXPECT_EQ(Mismatches(Screen(*w), 199, 99, red, blue), 0);
    w->DrawRectangle(0, 0, 50, 50, STYLE_FILLED);
    EXPECT_EQ(Screen(*w).At(25, 25), 0x00FF00u);
}

TEST_F(DrawingTest, FailedDeletionsAndCopiesAreReportedAndTheFieldsClearedAnyway)
{
    auto w = OpenQuiet(200, 100);
    Paint(*w, BLUE);
    w->SetBuffering(true);
    Paint(*w, RED);
    hooks::FailNextCall("BitBlt");
    EXPECT_EQ(Printed([&] { w->UpdateBuffer(); }), "Fatal Error: Failed to BitBlt in UpdateBuffer!\n");
    EXPECT_EQ(Mismatches(Screen(*w), 200, 100, blue, blue), 0);

    hooks::FailNextCall("DeleteDC");
    hooks::FailNextCall("DeleteObject");
    EXPECT_EQ(Printed([&] { EXPECT_TRUE(w->SetBuffering(false)); }),
              "Fatal Error: Failed to delete dcActive in SetBuffering!\n"
              "Fatal Error: Failed to delete bmapBuffer in SetBuffering!\n");
    EXPECT_EQ(WindowInspector::Active(*w), WindowInspector::Screen(*w));
    EXPECT_EQ(WindowInspector::Buffer(*w), nullptr);
    // Buffering can start again afresh.
    EXPECT_FALSE(w->SetBuffering(true));
    EXPECT_TRUE(w->SetBuffering(false));
}

TEST_F(DrawingTest, WithoutAMemoryContextTheClearReportsItsFailureAndNothingLeaks)
{
    auto w = OpenQuiet();
    const int objects = hooks::LiveObjectCount();
    hooks::FailNextCall("CreateCompatibleDC");
    hooks::StartCallLog();
    const std::string printed = Printed([&] { EXPECT_FALSE(w->SetBuffering(true)); });
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    EXPECT_EQ(printed, "Fatal Error: Failed to draw filled style in DrawRectangle!\n");
    EXPECT_EQ(WindowInspector::Active(*w), nullptr);
    // The bitmap was not handed to a context that is not there.
    const std::string bitmap = Hex(WindowInspector::Buffer(*w));
    for (const std::string &line : log)
        EXPECT_EQ(line.find("," + bitmap + ")"), std::string::npos) << line;

    EXPECT_EQ(Printed([&] { EXPECT_TRUE(w->SetBuffering(false)); }), "");
    EXPECT_EQ(WindowInspector::Active(*w), WindowInspector::Screen(*w));
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
}

TEST_F(DrawingTest, AWindowDestroyedWhileBufferingDeletesTheContextAndTheBuffer)
{
    const int objects = hooks::LiveObjectCount();
    auto w = OpenQuiet();
    w->SetBuffering(true);
    const HWND hwnd = WindowInspector::Handle(*w);
    const std::string screen = Hex(WindowInspector::Screen(*w));
    const std::string mem = Hex(WindowInspector::Active(*w));
    const std::string bitmap = Hex(WindowInspector::Buffer(*w));
    const std::string pen = Hex(WindowInspector::Pen(*w));
    const std::string brush = Hex(WindowInspector::Brush(*w));
    const std::string font = Hex(WindowInspector::Font(*w));

    hooks::StartCallLog();
    EXPECT_EQ(Printed([&] { w.reset(); }), "");
    std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    log.resize(std::min<size_t>(log.size(), 6));
    EXPECT_EQ(log, (std::vector<std::string>{"ReleaseDC(" + Hex(hwnd) + "," + screen + ")", "DeleteDC(" + mem + ")",
                                             "DeleteObject(" + pen + ")", "DeleteObject(" + brush + ")",
                                             "DeleteObject(" + font + ")", "DeleteObject(" + bitmap + ")"}));
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
}

} // namespace
