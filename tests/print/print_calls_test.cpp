// The Win32 side of printing on the stand-in: message boxes, the print dialog over the
// CUPS destinations, printer DCs and their capabilities, and print jobs that end up in a
// CUPS queue's output or a PDF file. Pages are read back with pdftoppm.
#include "gdi/dc.h"
#include "print/pdf_page.h"
#include "print_test_util.h"

#include <standin/testhooks.h>
#include <standin/win32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using standin::gdi::Surface;
using standin::test::BoxRecord;

namespace {

class PrintCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::test::UseHeadlessBackend();
        standin::test::ClearFailures();
        standin::test::TakeShownBoxes();
        standin::test::RemovePrinterRasterCaps(0);
    }
    void TearDown() override
    {
        standin::test::ClearFailures();
        standin::test::StopCallLog();
        standin::test::RemovePrinterRasterCaps(0);
    }

    static HWND Window()
    {
        static HWND hwnd = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "Print Test Window";
            RegisterClassA(&wc);
            return CreateWindowExA(0, "Print Test Window", "Printing", 0x10CA0000, 5, 5, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        }();
        return hwnd;
    }

    // The dialog request the library makes, with a printer DC wanted.
    static PRINTDLGA Request(DWORD flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE)
    {
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = Window();
        pd.Flags = flags;
        return pd;
    }

    // Runs the dialog, answering it with `choice`; returns the printer DC (or null).
    static HDC ChoosePrinter(const std::string &choice)
    {
        standin::test::AnswerNextBox(choice);
        PRINTDLGA pd = Request();
        EXPECT_TRUE(PrintDlgA(&pd));
        EXPECT_NE(pd.hDC, nullptr);
        return pd.hDC;
    }

    static Surface &Page(HDC hdc) { return *standin::gdi::TargetSurface(*standin::gdi::FindDC(hdc)); }
};

// Something to print: a red F on blue and a black frame around the page's edge, so a
// shifted, cut or flipped page shows.
void DrawTestPicture(Surface &page)
{
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const bool edge = x == 0 || y == 0 || x == page.width - 1 || y == page.height - 1;
            const bool block = x >= 20 && x < 80 && y >= 20 && y < 110;
            const bool f = (x >= 30 && x < 40 && y >= 30 && y < 100) || (x >= 40 && x < 70 && y >= 30 && y < 40) ||
                           (x >= 40 && x < 60 && y >= 55 && y < 65);
            if (edge)
                page.Row(y)[x] = 0x000000;
            else if (f)
                page.Row(y)[x] = 0xFF0000;
            else if (block)
                page.Row(y)[x] = 0x0000FF;
        }
    }
}

DOCINFOA Doc(const char *name = nullptr, const char *output = nullptr)
{
    DOCINFOA di{};
    di.cbSize = sizeof di;
    di.lpszDocName = name;
    di.lpszOutput = output;
    return di;
}

// Prints the test picture on one page of `hdc`; returns the StartDocA result.
int PrintOnePage(HDC hdc, Surface &page, const DOCINFOA &di)
{
    const int job = StartDocA(hdc, &di);
    EXPECT_GT(job, 0);
    EXPECT_GT(StartPage(hdc), 0);
    DrawTestPicture(page);
    EXPECT_GT(EndPage(hdc), 0);
    EXPECT_GT(EndDoc(hdc), 0);
    return job;
}

} // namespace

TEST_F(PrintCalls, MessageBoxRecordsItsBoxAndAnswersLikeWin32)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(Window(), "Double-buffering must be enabled.  Sorry.", "Graphics Library",
                          MB_OK | MB_ICONEXCLAMATION),
              IDOK);
    // Headless: the text goes to standard error.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Graphics Library: Double-buffering must be enabled.  Sorry.\n");
    std::vector<BoxRecord> boxes = standin::test::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, Window());
    EXPECT_EQ(boxes[0].caption, "Graphics Library");
    EXPECT_EQ(boxes[0].text, "Double-buffering must be enabled.  Sorry.");
    EXPECT_EQ(boxes[0].icon, "warning");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes[0].answer, "OK");

    // Dismissed boxes answer with their cancel button; those without one with their
    // default button; a script answers as the user would.
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_ABORTRETRYIGNORE | MB_ICONHAND), IDABORT);
    standin::test::AnswerNextBox("No");
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNOCANCEL), IDNO);
    standin::test::AnswerNextBox("Try Again");
    EXPECT_EQ(MessageBoxA(nullptr, "q", nullptr, MB_CANCELTRYCONTINUE | MB_ICONINFORMATION), IDTRYAGAIN);
    boxes = standin::test::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[1].icon, "question");
    EXPECT_EQ(boxes[2].icon, "error");
    EXPECT_EQ(boxes[4].caption, "Error"); // Win32's caption for none
    EXPECT_EQ(boxes[4].icon, "information");
    EXPECT_EQ(boxes[4].buttons, (std::vector<std::string>{"Cancel", "Try Again", "Continue"}));

    // Failures: no box at all.
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x1234), "q", "c", MB_OK), 0);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", 0x7), 0); // no such button set
    standin::test::FailNextCall("MessageBoxA");
    standin::test::StartCallLog();
    EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", MB_OK | MB_ICONEXCLAMATION), 0);
    EXPECT_EQ(standin::test::StopCallLog(), std::vector<std::string>{"MessageBoxA(NULL,Text,Caption,0x30)"});
    EXPECT_TRUE(standin::test::TakeShownBoxes().empty());
}

TEST_F(PrintCalls, DialogListsTheDestinationsDefaultFirstAndCancelsByDefault)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    const int objects = standin::test::LiveObjectCount();

    PRINTDLGA pd = Request();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(PrintDlgA(&pd));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(pd.hDC, nullptr);
    EXPECT_EQ(standin::test::LiveObjectCount(), objects);
    std::vector<BoxRecord> boxes = standin::test::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, Window());
    EXPECT_EQ(boxes[0].caption, "Print");
    EXPECT_EQ(boxes[0].buttons,
              (std::vector<std::string>{"file-a4", "archive-letter", "bare", "Save as PDF", "Cancel"}));
    EXPECT_EQ(boxes[0].answer, "Cancel");
    EXPECT_NE(boxes[0].text.find("file-a4 (default): 210 x 297 mm paper, 150 dpi"), std::string::npos)
        << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("archive-letter: 216 x 279 mm paper, 100 dpi"), std::string::npos);

    // A choice without PD_RETURNDC succeeds without a DC. Either way the device's mode and
    // names come in two global blocks, the caller's to free once.
    const int blocks = standin::test::LiveGlobalCount();
    standin::test::AnswerNextBox("archive-letter");
    pd = Request(PD_NOPAGENUMS);
    EXPECT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(pd.hDC, nullptr);
    ASSERT_NE(pd.hDevMode, nullptr);
    ASSERT_NE(pd.hDevNames, nullptr);
    EXPECT_EQ(standin::test::LiveGlobalCount(), blocks + 2);
    EXPECT_EQ(GlobalFree(pd.hDevMode), nullptr);
    EXPECT_EQ(GlobalFree(pd.hDevNames), nullptr);
    EXPECT_EQ(GlobalFree(pd.hDevNames), pd.hDevNames); // already freed
    EXPECT_EQ(standin::test::LiveGlobalCount(), blocks);

    // A request of the wrong size, or for an owner that is not a window, fails unseen.
    pd = Request();
    pd.lStructSize = 66 + 1;
    EXPECT_FALSE(PrintDlgA(&pd));
    pd = Request();
    pd.hwndOwner = reinterpret_cast<HWND>(0x1234);
    EXPECT_FALSE(PrintDlgA(&pd));
    EXPECT_FALSE(PrintDlgA(nullptr));
    standin::test::TakeShownBoxes();

    standin::test::FailNextCall("PrintDlgA");
    standin::test::StartCallLog();
    pd = Request();
    EXPECT_FALSE(PrintDlgA(&pd));
    const std::vector<std::string> log = standin::test::StopCallLog();
    ASSERT_EQ(log.size(), 1u);
    char size[16];
    std::snprintf(size, sizeof size, "0x%zX", sizeof(PRINTDLGA)); // unsigned values log in hex
    EXPECT_EQ(log[0].substr(0, log[0].find(',')), std::string("PrintDlgA({") + size);
    EXPECT_EQ(log[0].substr(log[0].size() - 20), ",NULL,NULL,0x4010C})");
    EXPECT_TRUE(standin::test::TakeShownBoxes().empty());
}

TEST_F(PrintCalls, PrinterDcIsThePrintableAreaAtThePrintersResolution)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    const int objects = standin::test::LiveObjectCount();
    HDC a4 = ChoosePrinter("file-a4");
    EXPECT_EQ(standin::test::LiveObjectCount(), objects + 1);
    EXPECT_EQ(GetDeviceCaps(a4, HORZRES), 1164);
    EXPECT_EQ(GetDeviceCaps(a4, VERTRES), 1604);
    EXPECT_EQ(GetDeviceCaps(a4, LOGPIXELSX), 150);
    EXPECT_EQ(GetDeviceCaps(a4, LOGPIXELSY), 150);
    EXPECT_EQ(GetDeviceCaps(a4, PHYSICALOFFSETX), 38);
    EXPECT_EQ(GetDeviceCaps(a4, PHYSICALOFFSETY), 75);
    EXPECT_EQ(GetDeviceCaps(a4, PHYSICALWIDTH), 1239);
    EXPECT_EQ(GetDeviceCaps(a4, TECHNOLOGY), DT_RASPRINTER);
    const int caps = GetDeviceCaps(a4, RASTERCAPS);
    EXPECT_EQ(caps & (RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT), RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT);
    const Surface &page = Page(a4);
    ASSERT_EQ(page.width, 1164);
    ASSERT_EQ(page.height, 1604);
    EXPECT_EQ(std::count(page.pixels.begin(), page.pixels.end(), 0xFFFFFFu), 1164 * 1604);

    HDC letter = ChoosePrinter("archive-letter");
    EXPECT_EQ(GetDeviceCaps(letter, HORZRES), 800);
    EXPECT_EQ(GetDeviceCaps(letter, VERTRES), 1000);

    // A printer that says nothing: the locale's paper at 300 dpi.
    HDC bare = ChoosePrinter("bare");
    EXPECT_EQ(GetDeviceCaps(bare, LOGPIXELSX), 300);

    // The test hook takes capabilities away from the printer DCs made after it.
    standin::test::RemovePrinterRasterCaps(RC_STRETCHBLT | RC_BITMAP64);
    HDC weak = ChoosePrinter("file-a4");
    EXPECT_EQ(GetDeviceCaps(weak, RASTERCAPS) & (RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT), RC_BITBLT);
    EXPECT_EQ(GetDeviceCaps(a4, RASTERCAPS), caps);

    // Screen and memory DCs describe the display; a bad handle gets 0.
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(mem, RASTERCAPS), 0xBE99);
    EXPECT_EQ(GetDeviceCaps(mem, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(mem, TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(GetDeviceCaps(reinterpret_cast<HDC>(0x1234), HORZRES), 0);
    standin::test::FailNextCall("GetDeviceCaps");
    standin::test::StartCallLog();
    EXPECT_EQ(GetDeviceCaps(a4, HORZRES), 0);
    const std::vector<std::string> log = standin::test::StopCallLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(log[0].size() - 3), ",8)");

    for (HDC dc : {a4, letter, bare, weak, mem})
        EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(standin::test::LiveObjectCount(), objects);
    EXPECT_FALSE(DeleteDC(a4)); // gone
    standin::test::TakeShownBoxes();
}

TEST_F(PrintCalls, JobGoesToTheQueueAndComesBackPixelForPixel)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    HDC hdc = ChoosePrinter("file-a4");
    Surface &page = Page(hdc);
    const standin::print::Destination dest = printtest::FindDestination("file-a4");

    standin::test::StartCallLog();
    const int job = PrintOnePage(hdc, page, Doc());
    const std::vector<std::string> log = standin::test::StopCallLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].substr(log[0].find(",{")), ",{" + std::to_string(sizeof(DOCINFOA)) + ",NULL,NULL,NULL,0})");
    EXPECT_EQ(log[1].substr(0, 10), "StartPage(");
    EXPECT_EQ(log[2].substr(0, 8), "EndPage(");
    EXPECT_EQ(log[3].substr(0, 7), "EndDoc(");

    // StartDocA's result is the queue's job.
    EXPECT_EQ(printtest::WaitForJob(dest, job), standin::print::JobState::Completed);
    const Surface raster = printtest::PdfToPixels(cups.OutputOf("file-a4"), 150, 150);
    EXPECT_EQ(printtest::CountDifferences(raster, 38, 75, page), 0);
    EXPECT_EQ(printtest::CountMarksOutside(raster, 38, 75, page.width, page.height), 0);
    EXPECT_TRUE(DeleteDC(hdc));
    standin::test::TakeShownBoxes();
}

TEST_F(PrintCalls, SaveAsPdfNumbersItsFilesAndNeverOverwrites)
{
    printtest::TempDir dir;
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    setenv("LC_ALL", "C", 1); // A4 for the page
    {
        // Without any CUPS scheduler the dialog still offers the file.
        printtest::TempDir nowhere;
        setenv("CUPS_SERVER", nowhere.File("none.sock").c_str(), 1);
        standin::test::AnswerNextBox("Save as PDF");
        PRINTDLGA pd = Request();
        ASSERT_TRUE(PrintDlgA(&pd));
        const std::vector<BoxRecord> boxes = standin::test::TakeShownBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].buttons, (std::vector<std::string>{"Save as PDF", "Cancel"}));
        EXPECT_EQ(boxes[0].text.find("No printer was found"), 0u) << boxes[0].text;
        HDC hdc = pd.hDC;
        EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSX), 300);
        EXPECT_EQ(GetDeviceCaps(hdc, HORZRES), 2330);

        ASSERT_TRUE(standin::print::WriteWholeFile("print-2.pdf", "someone else's", nullptr));
        testing::internal::CaptureStderr();
        PrintOnePage(hdc, Page(hdc), Doc("first"));
        PrintOnePage(hdc, Page(hdc), Doc("second"));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("the page was saved as " + dir.File("print-1.pdf")), std::string::npos) << said;
        EXPECT_NE(said.find("the page was saved as " + dir.File("print-3.pdf")), std::string::npos) << said;
        EXPECT_EQ(printtest::ReadWholeFile("print-2.pdf"), "someone else's");

        const Surface raster = printtest::PdfToPixels(dir.File("print-3.pdf"), 300, 300);
        EXPECT_EQ(printtest::CountDifferences(raster, 75, 75, Page(hdc)), 0);

        // DOCINFOA's output file takes the document instead.
        PrintOnePage(hdc, Page(hdc), Doc("named", "named.pdf"));
        double w = 0, h = 0;
        EXPECT_TRUE(printtest::PdfPageSize(dir.File("named.pdf"), &w, &h));
        EXPECT_NEAR(w, 595.28, 0.01);
        EXPECT_TRUE(DeleteDC(hdc));
        unsetenv("CUPS_SERVER");
    }
    unsetenv("LC_ALL");
    std::filesystem::current_path(home);
}

TEST_F(PrintCalls, JobCallsOutOfOrderFailAndUnfinishedJobsAreCancelled)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    const standin::print::Destination dest = printtest::FindDestination("file-a4");
    HDC hdc = ChoosePrinter("file-a4");
    const DOCINFOA di = Doc("order");

    EXPECT_LE(StartPage(hdc), 0);
    EXPECT_LE(EndPage(hdc), 0);
    EXPECT_LE(EndDoc(hdc), 0);
    EXPECT_LE(StartDocA(hdc, nullptr), 0);
    const int job = StartDocA(hdc, &di);
    ASSERT_GT(job, 0);
    EXPECT_LE(StartDocA(hdc, &di), 0);
    EXPECT_LE(EndPage(hdc), 0);
    EXPECT_GT(StartPage(hdc), 0);
    EXPECT_LE(StartPage(hdc), 0);

    // The job calls on anything but a printer DC fail.
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_LE(StartDocA(mem, &di), 0);
    EXPECT_LE(EndDoc(mem), 0);
    EXPECT_TRUE(DeleteDC(mem));

    // Deleting the DC with the document open cancels the job: nothing is printed.
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_EQ(printtest::WaitForJob(dest, job), standin::print::JobState::Canceled);
    EXPECT_FALSE(std::filesystem::exists(cups.OutputOf("file-a4")));

    // A page still open at EndDoc is printed, not lost.
    hdc = ChoosePrinter("file-a4");
    const int second = StartDocA(hdc, &di);
    ASSERT_GT(second, job);
    ASSERT_GT(StartPage(hdc), 0);
    DrawTestPicture(Page(hdc));
    EXPECT_GT(EndDoc(hdc), 0);
    EXPECT_EQ(printtest::WaitForJob(dest, second), standin::print::JobState::Completed);
    const Surface raster = printtest::PdfToPixels(cups.OutputOf("file-a4"), 150, 150);
    EXPECT_EQ(printtest::CountDifferences(raster, 38, 75, Page(hdc)), 0);

    // A queue that refuses jobs makes StartDocA fail, and says why.
    ASSERT_EQ(printtest::Run("cupsreject file-a4"), 0);
    testing::internal::CaptureStderr();
    EXPECT_LE(StartDocA(hdc, &di), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("printing: cannot create a job"), std::string::npos);
    EXPECT_TRUE(DeleteDC(hdc));
    standin::test::TakeShownBoxes();
}

TEST_F(PrintCalls, InjectedFailuresDoNothing)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    const standin::print::Destination dest = printtest::FindDestination("file-a4");
    HDC hdc = ChoosePrinter("file-a4");
    const DOCINFOA di = Doc();

    standin::test::FailNextCall("StartDocA");
    EXPECT_EQ(StartDocA(hdc, &di), SP_ERROR);
    standin::test::FailNextCall("StartPage");
    EXPECT_EQ(StartPage(hdc), SP_ERROR); // and no document was started by the failed call
    const int job = StartDocA(hdc, &di);
    ASSERT_GT(job, 0);
    EXPECT_GT(StartPage(hdc), 0);
    DrawTestPicture(Page(hdc));
    standin::test::FailNextCall("EndPage");
    EXPECT_EQ(EndPage(hdc), SP_ERROR);
    standin::test::FailNextCall("EndDoc");
    EXPECT_EQ(EndDoc(hdc), SP_ERROR);
    EXPECT_EQ(standin::print::GetJobState(dest, job), standin::print::JobState::Held);

    // The page is still open: the real EndDoc prints it.
    EXPECT_GT(EndDoc(hdc), 0);
    EXPECT_EQ(printtest::WaitForJob(dest, job), standin::print::JobState::Completed);

    standin::test::FailNextCall("DeleteDC");
    EXPECT_FALSE(DeleteDC(hdc));
    EXPECT_TRUE(DeleteDC(hdc));
    standin::test::TakeShownBoxes();
}
