// The library's Print through the stand-in to a real CUPS scheduler: the page placed and
// scaled as GDI printers place it, read back from the queue's PDF with pdftoppm; the
// boxes before and instead of printing; the error lines of a failing print job.
#include "graphics.h"
#include "print_test_util.h"

#include <standin/testhooks.h>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

using standin::gdi::Surface;
namespace hooks = standin::test;

// The window's fields these tests set up and look at.
struct WindowInspector {
    static HWND Handle(window &w) { return w.hwndWindow; }
    static HDC Active(window &w) { return w.dcActive; }
};

namespace {

// One colour a pixel that no other pixel of the picture has, so any shift, cut, flip
// or swapped channel shows.
COLORREF PictureColor(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80 | ((x >> 8) << 3) | (y >> 8));
}

Surface Picture(int width, int height)
{
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.Row(y)[x] = standin::gdi::PixelFromColorref(PictureColor(x, y));
    return s;
}

void DrawPicture(HDC dc, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, PictureColor(x, y));
}

// GDI's pixel choice when a bitmap is stretched larger (or copied 1:1): which source
// column (or row) each destination one shows.
std::vector<int> EnlargeMap(int source, int destination)
{
    std::vector<int> map(static_cast<size_t>(destination));
    int e = 3 * source - 2 * destination, s = 0;
    for (int d = 0; d < destination; ++d) {
        map[static_cast<size_t>(d)] = s;
        if (e > 0) {
            ++s;
            e += 2 * source - 2 * destination;
        } else {
            e += 2 * source;
        }
    }
    return map;
}

// `picture` stretched to width x height, then rows [fromRow, fromRow + rows) of that.
Surface Stretched(const Surface &picture, int width, int height, int fromRow, int rows)
{
    const auto mx = EnlargeMap(picture.width, width), my = EnlargeMap(picture.height, height);
    Surface s(width, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x)
            s.Row(y)[x] = picture.Row(my[static_cast<size_t>(fromRow + y)])[mx[static_cast<size_t>(x)]];
    return s;
}

// Columns [fromColumn, fromColumn + width) of `picture`.
Surface Columns(const Surface &picture, int fromColumn, int width)
{
    Surface s(width, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < width; ++x)
            s.Row(y)[x] = picture.Row(y)[fromColumn + x];
    return s;
}

class WindowPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::ClearFailures();
        hooks::TakeShownBoxes();
        hooks::RemovePrinterRasterCaps(0);
    }
    void TearDown() override
    {
        hooks::ClearFailures();
        hooks::StopCallLog();
        hooks::RemovePrinterRasterCaps(0);
    }

    // A double-buffered window of this size holding the test picture.
    static std::unique_ptr<window> PictureWindow(int width, int height)
    {
        auto w = std::make_unique<window>(width, height, 5, 5);
        w->SetCloseWaitsForClick(false);
        w->SetBuffering(true);
        DrawPicture(WindowInspector::Active(*w), width, height);
        hooks::DrainMessages(); // the pump in Print then finds nothing
        return w;
    }

    // Prints through the dialog's `queue`; returns what Print wrote on standard output.
    static std::string PrintVia(window &w, const std::string &queue)
    {
        hooks::AnswerNextBox(queue);
        testing::internal::CaptureStdout();
        w.Print();
        return testing::internal::GetCapturedStdout();
    }

    // The queue's last page once its jobs are done, at the queue's resolution.
    static Surface PageOf(printtest::LoopbackCups &cups, const std::string &queue, int dpi)
    {
        printtest::WaitForIdleQueue(queue);
        return printtest::PdfToPixels(cups.OutputOf(queue), dpi, dpi);
    }

    // Prints without a word on standard output and returns the page.
    static Surface PrintTo(window &w, printtest::LoopbackCups &cups, const std::string &queue, int dpi)
    {
        EXPECT_EQ(PrintVia(w, queue), "");
        return PageOf(cups, queue, dpi);
    }
};

} // namespace

TEST_F(WindowPrint, StretchingPrinterGetsThePictureAcrossTheWholePrintableWidth)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100);
    const int objects = hooks::LiveObjectCount();
    const int blocks = hooks::LiveGlobalCount();
    hooks::StartCallLog();
    const Surface page = PrintTo(*w, cups, "file-a4", 150);
    const std::vector<std::string> log = hooks::StopCallLog();

    // The printable area is 1164 x 1604 at (38, 75) on the sheet: P = 1164 * 100 / 200 =
    // 582 rows, top = (1604 - 582) / 2 = 511.
    const Surface expected = Stretched(Picture(200, 100), 1164, 582, 0, 582);
    EXPECT_EQ(printtest::CountDifferences(page, 38, 75 + 511, expected), 0);
    EXPECT_EQ(printtest::CountMarksOutside(page, 38, 75 + 511, 1164, 582), 0);

    // The calls, in order, with what the library passes.
    std::vector<std::string> names;
    for (const std::string &line : log)
        names.push_back(line.substr(0, line.find('(')));
    const std::vector<std::string> expectedNames = {
        "PeekMessageA", "PrintDlgA",  "GlobalFree",    "GlobalFree", "GetDeviceCaps", "StartDocA", "StartPage",
        "GetDeviceCaps", "GetDeviceCaps", "StretchBlt", "EndPage",       "EndDoc",     "DeleteDC"};
    ASSERT_EQ(names, expectedNames);
    char request[64];
    std::snprintf(request, sizeof request, "PrintDlgA({0x%zX,", sizeof(PRINTDLGA));
    EXPECT_EQ(log[1].substr(0, std::strlen(request)), request);
    EXPECT_EQ(log[1].substr(log[1].size() - 20), ",NULL,NULL,0x4010C})");
    EXPECT_EQ(log[4].substr(log[4].size() - 4), ",38)");
    EXPECT_EQ(log[5].substr(log[5].find(",{")), ",{" + std::to_string(sizeof(DOCINFOA)) + ",NULL,NULL,NULL,0})");
    EXPECT_EQ(log[7].substr(log[7].size() - 3), ",8)");
    EXPECT_EQ(log[8].substr(log[8].size() - 4), ",10)");
    EXPECT_EQ(log[9].substr(log[9].find(',')), ",0,511,1164,582," + printtest::Hex(WindowInspector::Active(*w)) +
                                                   ",0,0,200,100,0xCC0020)");
    // The printer's context and the dialog's two blocks are gone; the window's are untouched.
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
    EXPECT_EQ(hooks::LiveGlobalCount(), blocks);
    EXPECT_TRUE(hooks::TakeShownBoxes().size() == 1);
}

TEST_F(WindowPrint, NonStretchingPrinterGetsThePictureOneToOneInTheMiddle)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    hooks::RemovePrinterRasterCaps(RC_STRETCHBLT);
    auto w = PictureWindow(200, 100);
    const Surface page = PrintTo(*w, cups, "file-a4", 150);
    // left = (1164 - 200) / 2 = 482, top = (1604 - 100) / 2 = 752.
    EXPECT_EQ(printtest::CountDifferences(page, 38 + 482, 75 + 752, Picture(200, 100)), 0);
    EXPECT_EQ(printtest::CountMarksOutside(page, 38 + 482, 75 + 752, 200, 100), 0);
}

TEST_F(WindowPrint, TooWideForTheNonStretchingPageIsCutOnBothSides)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    hooks::RemovePrinterRasterCaps(RC_STRETCHBLT);
    // Letter at 100 dpi: 800 x 1000 printable at (25, 50). 800 - 805 = -5 halves to -3
    // (toward minus infinity), so window columns 3 to 802 fill the printable width.
    auto w = PictureWindow(805, 60);
    hooks::StartCallLog();
    const Surface page = PrintTo(*w, cups, "archive-letter", 100);
    const std::vector<std::string> log = hooks::StopCallLog();
    const std::string blit = log[9];
    EXPECT_EQ(blit.substr(0, 7), "BitBlt(");
    EXPECT_EQ(blit.substr(blit.find(',')), ",-3,470,805,60," + printtest::Hex(WindowInspector::Active(*w)) +
                                               ",0,0,0xCC0020)");
    EXPECT_EQ(printtest::CountDifferences(page, 25, 50 + 470, Columns(Picture(805, 60), 3, 800)), 0);
    EXPECT_EQ(printtest::CountMarksOutside(page, 25, 50 + 470, 800, 60), 0);
}

TEST_F(WindowPrint, TallPictureOnAStretchingPrinterIsCutAtTopAndBottom)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    // 100 x 200 across 800 printer pixels: P = 1600 rows on a page of 1000, top = -300;
    // rows 300 to 1299 of the stretched picture show.
    auto w = PictureWindow(100, 200);
    const Surface page = PrintTo(*w, cups, "archive-letter", 100);
    EXPECT_EQ(printtest::CountDifferences(page, 25, 50, Stretched(Picture(100, 200), 800, 1600, 300, 1000)), 0);
    EXPECT_EQ(printtest::CountMarksOutside(page, 25, 50, 800, 1000), 0);
}

TEST_F(WindowPrint, WithoutDoubleBufferingTheBoxComesFirstAndTheScreenIsPrinted)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    window w(200, 100, 5, 5);
    w.SetCloseWaitsForClick(false);
    DrawPicture(WindowInspector::Active(w), 200, 100); // the screen's context
    hooks::DrainMessages();
    hooks::AnswerNextBox("OK");
    testing::internal::CaptureStderr();
    const Surface page = PrintTo(w, cups, "file-a4", 150);
    testing::internal::GetCapturedStderr();

    const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, WindowInspector::Handle(w));
    EXPECT_EQ(boxes[0].caption, "Graphics Library");
    EXPECT_EQ(boxes[0].text, "Double-buffering must be enabled for printing to work.  Sorry.");
    EXPECT_EQ(boxes[0].icon, "warning");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes[1].caption, "Print");
    EXPECT_EQ(boxes[1].owner, WindowInspector::Handle(w));

    const Surface expected = Stretched(Picture(200, 100), 1164, 582, 0, 582);
    EXPECT_EQ(printtest::CountDifferences(page, 38, 75 + 511, expected), 0);
}

TEST_F(WindowPrint, CancelPrintsNothingAndSaysNothing)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100);
    const int objects = hooks::LiveObjectCount();
    hooks::StartCallLog();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    w->Print(); // the headless dialog is dismissed
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> log = hooks::StopCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].substr(0, 10), "PrintDlgA(");
    const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].answer, "Cancel");
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    EXPECT_EQ(count, 0);
}

TEST_F(WindowPrint, PrintersThatCannotTakeBitmapsAreRefusedAndReleased)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100);
    const int objects = hooks::LiveObjectCount();
    const struct {
        DWORD missing;
        const char *text;
    } refusals[] = {
        {RC_BITBLT, "Your printer does not support bitblts.  Sorry"},
        {RC_BITBLT | RC_BITMAP64, "Your printer does not support bitblts.  Sorry"},
        {RC_BITMAP64, "Your printer does not support bitmaps larger than 64K.  Sorry."},
    };
    for (const auto &r : refusals) {
        SCOPED_TRACE(r.text);
        hooks::RemovePrinterRasterCaps(r.missing);
        hooks::AnswerNextBox("file-a4");
        hooks::StartCallLog();
        testing::internal::CaptureStdout();
        w->Print();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        const std::vector<std::string> log = hooks::StopCallLog();
        ASSERT_EQ(log.size(), 7u);
        EXPECT_EQ(log[4].substr(0, 14), "GetDeviceCaps(");
        EXPECT_EQ(log[5].substr(0, 12), "MessageBoxA(");
        EXPECT_EQ(log[5].substr(log[5].find(',', 13)), std::string(",") + r.text + ",Graphics Library,0x30)");
        EXPECT_EQ(log[6].substr(0, 9), "DeleteDC(");
        const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, r.text);
        EXPECT_EQ(boxes[1].owner, WindowInspector::Handle(*w));
        EXPECT_EQ(hooks::LiveObjectCount(), objects);
    }
    // No job was ever started.
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    EXPECT_EQ(count, 0);
}

TEST_F(WindowPrint, EveryFailingStepHasItsLineAndTheRestStillRuns)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100);
    const struct {
        const char *call;
        std::string lines;
    } cases[] = {
        // A failed StartDocA leaves no document, so the page calls fail after it.
        {"StartDocA", "Fatal Error: Failed to StartDoc in Print!\nFatal Error: Failed to StartPage in Print!\n"
                      "Fatal Error: Failed to EndPage in Print!\nFatal Error: Failed to EndDoc in Print!\n"},
        {"StartPage", "Fatal Error: Failed to StartPage in Print!\nFatal Error: Failed to EndPage in Print!\n"},
        {"StretchBlt", "Fatal Error: Failed to StretchBlt in Print!\n"},
        {"EndPage", "Fatal Error: Failed to EndPage in Print!\n"},
        {"EndDoc", "Fatal Error: Failed to EndDoc in Print!\n"},
        {"DeleteDC", "Fatal Error: Failed to delete dcPrinter in Print!\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.call);
        hooks::FailNextCall(c.call);
        hooks::StartCallLog();
        testing::internal::CaptureStderr();
        EXPECT_EQ(PrintVia(*w, "file-a4"), c.lines);
        testing::internal::GetCapturedStderr();
        printtest::WaitForIdleQueue("file-a4");
        // Every step ran.
        const std::vector<std::string> log = hooks::StopCallLog();
        ASSERT_EQ(log.size(), 13u);
        EXPECT_EQ(log.back().substr(0, 9), "DeleteDC(");
        if (std::string(c.call) == "DeleteDC") {
            // The context the library could not delete is still there; let it go.
            const std::string handle = log.back().substr(9, log.back().size() - 10);
            EXPECT_TRUE(DeleteDC(reinterpret_cast<HDC>(std::stoull(handle, nullptr, 16))));
        }
    }

    // BitBlt on a printer that does not stretch.
    hooks::RemovePrinterRasterCaps(RC_STRETCHBLT);
    hooks::FailNextCall("BitBlt");
    EXPECT_EQ(PrintVia(*w, "file-a4"), "Fatal Error: Failed to BitBlt in Print!\n");
}

TEST_F(WindowPrint, WindowWithoutWidthPrintsABlankPage)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(0, 100);
    hooks::StartCallLog();
    const Surface page = PrintTo(*w, cups, "file-a4", 150);
    const std::vector<std::string> log = hooks::StopCallLog();
    for (const std::string &line : log)
        EXPECT_NE(line.substr(0, 11), "StretchBlt(");
    EXPECT_EQ(printtest::CountMarksOutside(page, 0, 0, 0, 0), 0);
}
