// Printing, from the library's Print to a PDF that a private CUPS scheduler writes, read
// back with poppler's tools; the printable area's geometry; the error lines and boxes of
// failing jobs; saving as PDF without a printer.
#include "print.h"
#include "graphics.h"
#include "print/page_geometry.h"
#include "print/pdf_page.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <array>
#include <regex>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace hooks = standin::test;
using standin::print::Media;
using standin::print::PageGeometry;

TEST(PageGeometry, PrintableAreaIsWholePixelsInsideTheMargins)
{
    // Margins that are not whole pixels: the area starts at the next whole pixel and ends
    // at the last one that fits, so it never reaches into a margin.
    const struct {
        Media media;
        int xDpi, yDpi, left, top, width, height;
    } rows[] = {
        {standin::print::A4Media(), 300, 300, 75, 75, 2480 - 150, 3507 - 150},
        {{"x", 21000, 29700, 423, 423, 500, 1000}, 300, 600, 50, 119, 2430 - 50, 6779 - 119},
        {standin::print::LetterMedia(), 600, 300, 150, 75, 5100 - 300, 3300 - 150},
        {{"x", 1000, 1000, 600, 600, 600, 600}, 300, 300, 71, 71, 0, 0}, // margins wider than the sheet
    };
    for (const auto &r : rows) {
        PageGeometry g;
        g.media = r.media;
        g.xDpi = r.xDpi;
        g.yDpi = r.yDpi;
        SCOPED_TRACE(r.media.name + " " + std::to_string(r.xDpi));
        EXPECT_EQ(g.LeftPx(), r.left);
        EXPECT_EQ(g.TopPx(), r.top);
        EXPECT_EQ(g.WidthPx(), r.width);
        EXPECT_EQ(g.HeightPx(), r.height);
    }
    for (auto [asked, used] : {std::pair{0, 300}, {-72, 300}, {150, 150}, {600, 600}, {1200, 600}})
        EXPECT_EQ(standin::print::UsableDpi(asked), used) << asked;
}

TEST(PageGeometry, PaperFollowsTheLocale)
{
    setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1); // not installed: A4 rather than a failure
    EXPECT_EQ(standin::print::LocalePaper().name, "iso_a4_210x297mm");
    // A locale of Letter paper compiled for this test alone: only its paper category.
    ScratchFolder dir;
    const std::string source = dir.Write("letter.src", {});
    std::FILE *f = std::fopen(source.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("LC_PAPER\nheight 279\nwidth 216\nEND LC_PAPER\n", f);
    std::fclose(f);
    std::string out; // localedef warns of the missing categories in its exit status
    RunTool("localedef -c -f UTF-8 -i " + Quoted(source) + " " + Quoted(dir.Path("en_QG.UTF-8")), &out);
    ASSERT_TRUE(std::filesystem::exists(dir.Path("en_QG.UTF-8/LC_PAPER"))) << out;
    setenv("LOCPATH", dir.Path("").c_str(), 1);
#if defined(__SANITIZE_ADDRESS__)
    // glibc's newlocale keeps the search path it builds from LOCPATH and never frees it.
    __lsan::ScopedDisabler glibcKeepsLocpath;
#endif
    unsetenv("LC_ALL");
    setenv("LC_PAPER", "en_QG.UTF-8", 1);
    EXPECT_EQ(standin::print::LocalePaper().name, "na_letter_8.5x11in");
    EXPECT_EQ(standin::print::DefaultGeometry().media.length, 27940);
    setenv("LC_ALL", "C", 1); // LC_ALL wins over LC_PAPER
    EXPECT_EQ(standin::print::LocalePaper().name, "iso_a4_210x297mm");
    unsetenv("LC_ALL");
    unsetenv("LC_PAPER");
    unsetenv("LOCPATH");
}

namespace {

// Every pixel of the window's picture a colour of its own, none white, so that the
// picture position of any printed pixel can be read back from its colour.
COLORREF PictureColor(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80 | ((x >> 8) << 3) | (y >> 8));
}
std::pair<int, int> PicturePosition(uint32_t rgb)
{
    return {int(rgb >> 16 & 0xFF) | int(rgb >> 3 & 0xF) << 8, int(rgb >> 8 & 0xFF) | int(rgb & 7) << 8};
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::ClearFailures();
        hooks::TakeShownBoxes();
        hooks::RemovePrinterRasterCaps(0);
        hooks::OnWindowCreated([this](HWND h) { hwnd = h; });
    }
    void TearDown() override
    {
        hooks::OnWindowCreated(nullptr);
        hooks::ClearFailures();
        hooks::StopCallLog();
        hooks::RemovePrinterRasterCaps(0);
    }

    std::unique_ptr<window> PictureWindow(int width, int height, bool buffered = true)
    {
        auto w = std::make_unique<window>(width, height, 5, 5);
        w->SetCloseWaitsForClick(false);
        w->SetBuffering(buffered);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = PictureColor(x, y);
                w->SetPen(GetRValue(c), GetGValue(c), GetBValue(c), 1);
                w->DrawPixel(x, y);
            }
        hooks::DrainMessages(); // the pump in Print then finds nothing
        hooks::TakeShownBoxes();
        return w;
    }

    // Prints through the dialog's `queue`; what Print wrote on standard output.
    static std::string PrintVia(window &w, const std::string &queue)
    {
        hooks::AnswerNextBox(queue);
        testing::internal::CaptureStdout();
        w.Print();
        return testing::internal::GetCapturedStdout();
    }

    HWND hwnd = nullptr;
};

// The box of marks on a page: left, top, right, bottom (exclusive); all 0 when blank.
std::array<int, 4> Marks(const Raster &page)
{
    std::array<int, 4> box{page.width, page.height, 0, 0};
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.At(x, y) != 0xFFFFFF)
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
    return box[2] ? box : std::array<int, 4>{0, 0, 0, 0};
}

} // namespace

TEST_F(Printing, PictureIsPlacedAndScaledAsGdiPrintersPlaceIt)
{
    PrivateCups cups;
    QG_REQUIRE_CUPS(cups);
    // file-a4: 1164 x 1604 printable at (38, 75), 150 dpi; archive-letter: 800 x 1000 at
    // (25, 50), 100 dpi. Stretching printers take the whole printable width and centre
    // down the page; others get the picture one to one in the middle (halves rounded
    // toward minus infinity), cut where it does not fit.
    const struct {
        const char *queue;
        int dpi, width, height;
        DWORD capsTaken;
        const char *blit; // the call after its destination DC
        std::array<int, 4> marks;
        std::pair<int, int> topLeft, bottomRight; // the picture pixels at the marks' corners
    } rows[] = {
        {"file-a4", 150, 200, 100, 0, "StretchBlt(,0,511,1164,582,,0,0,200,100,0xCC0020)",
         {38, 75 + 511, 38 + 1164, 75 + 511 + 582}, {0, 0}, {199, 99}},
        {"file-a4", 150, 200, 100, RC_STRETCHBLT, "BitBlt(,482,752,200,100,,0,0,0xCC0020)",
         {38 + 482, 75 + 752, 38 + 682, 75 + 852}, {0, 0}, {199, 99}},
        {"archive-letter", 100, 805, 60, RC_STRETCHBLT, "BitBlt(,-3,470,805,60,,0,0,0xCC0020)",
         {25, 50 + 470, 825, 50 + 530}, {3, 0}, {802, 59}},
        {"archive-letter", 100, 100, 200, 0, "StretchBlt(,0,-300,800,1600,,0,0,100,200,0xCC0020)",
         {25, 50, 825, 1050}, {0, 37}, {99, 162}},
        {"file-a4", 150, 0, 100, 0, "", {0, 0, 0, 0}, {}, {}}, // no width: a blank page
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(std::string(r.queue) + " " + std::to_string(r.width) + " x " + std::to_string(r.height));
        hooks::RemovePrinterRasterCaps(r.capsTaken);
        auto w = PictureWindow(r.width, r.height);
        const int objects = hooks::LiveObjectCount(), blocks = hooks::LiveGlobalCount();
        hooks::StartCallLog();
        EXPECT_EQ(PrintVia(*w, r.queue), "");
        std::vector<std::string> log = hooks::StopCallLog();
        ASSERT_TRUE(cups.WaitIdle(r.queue));

        // The calls in order; handles left out of the blit.
        std::string names;
        for (std::string &line : log) {
            names += line.substr(0, line.find('(')) + " ";
            if (line.find("Blt(") != std::string::npos)
                line = std::regex_replace(line, std::regex("0x[0-9A-F]+,(-?\\d+,-?\\d+,-?\\d+,-?\\d+,)0x[0-9A-F]+,"),
                                          ",$1,", std::regex_constants::format_first_only);
        }
        const std::string blit = *r.blit ? std::string(r.blit).substr(0, std::string(r.blit).find('(')) + " " : "";
        EXPECT_EQ(names, "PeekMessageA PrintDlgA GlobalFree GlobalFree GetDeviceCaps StartDocA StartPage "
                         "GetDeviceCaps GetDeviceCaps " + blit + "EndPage EndDoc DeleteDC ");
        if (*r.blit)
            EXPECT_NE(std::find(log.begin(), log.end(), r.blit), log.end()) << log[9];
        EXPECT_EQ(hooks::LiveObjectCount(), objects);
        EXPECT_EQ(hooks::LiveGlobalCount(), blocks);

        const std::string pdf = cups.OutputOf(r.queue);
        EXPECT_EQ(PdfInfo(pdf, "Title"), program_invocation_short_name); // no name of its own
        const Raster page = PdfPage(pdf, r.dpi, r.dpi);
        ASSERT_GT(page.width, 0);
        EXPECT_EQ(Marks(page), r.marks);
        if (*r.blit) {
            EXPECT_EQ(PicturePosition(page.At(r.marks[0], r.marks[1])), r.topLeft);
            EXPECT_EQ(PicturePosition(page.At(r.marks[2] - 1, r.marks[3] - 1)), r.bottomRight);
        }
        if (r.capsTaken) { // one to one: every pixel in its place
            long wrong = 0;
            for (int y = r.marks[1]; y < r.marks[3]; ++y)
                for (int x = r.marks[0]; x < r.marks[2]; ++x)
                    wrong += PicturePosition(page.At(x, y)) !=
                             std::pair{x - r.marks[0] + r.topLeft.first, y - r.marks[1] + r.topLeft.second};
            EXPECT_EQ(wrong, 0);
        }
        std::filesystem::remove(pdf);
        hooks::RemovePrinterRasterCaps(0);
    }
}

TEST_F(Printing, FailuresHaveTheirLinesOrBoxesAndTheJobGoesOn)
{
    PrivateCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100);
    const struct {
        const char *fail;
        DWORD capsTaken;
        std::string lines, box;
        size_t calls;
    } rows[] = {
        // A failed StartDocA leaves no document, so the page calls fail after it.
        {"StartDocA", 0,
         "Fatal Error: Failed to StartDoc in Print!\nFatal Error: Failed to StartPage in Print!\n"
         "Fatal Error: Failed to EndPage in Print!\nFatal Error: Failed to EndDoc in Print!\n", "", 13},
        {"StartPage", 0, "Fatal Error: Failed to StartPage in Print!\nFatal Error: Failed to EndPage in Print!\n", "", 13},
        {"StretchBlt", 0, "Fatal Error: Failed to StretchBlt in Print!\n", "", 13},
        {"BitBlt", RC_STRETCHBLT, "Fatal Error: Failed to BitBlt in Print!\n", "", 13},
        {"EndPage", 0, "Fatal Error: Failed to EndPage in Print!\n", "", 13},
        {"EndDoc", 0, "Fatal Error: Failed to EndDoc in Print!\n", "", 13},
        {"DeleteDC", 0, "Fatal Error: Failed to delete dcPrinter in Print!\n", "", 13},
        // Printers that cannot take the bitmap are refused before any job.
        {"", RC_BITBLT, "", "Your printer does not support bitblts.  Sorry", 7},
        {"", RC_BITBLT | RC_BITMAP64, "", "Your printer does not support bitblts.  Sorry", 7},
        {"", RC_BITMAP64, "", "Your printer does not support bitmaps larger than 64K.  Sorry.", 7},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(std::string(r.fail) + " " + r.box);
        hooks::RemovePrinterRasterCaps(r.capsTaken);
        if (*r.fail)
            hooks::FailNextCall(r.fail);
        const int objects = hooks::LiveObjectCount(), jobs = cups.JobCount();
        hooks::StartCallLog();
        testing::internal::CaptureStderr();
        EXPECT_EQ(PrintVia(*w, "file-a4"), r.lines);
        testing::internal::GetCapturedStderr();
        const std::vector<std::string> log = hooks::StopCallLog();
        EXPECT_TRUE(cups.WaitIdle("file-a4"));
        ASSERT_EQ(log.size(), r.calls);
        EXPECT_EQ(log.back().substr(0, 9), "DeleteDC(");
        if (std::string(r.fail) == "DeleteDC") // the context the library could not delete
            EXPECT_TRUE(DeleteDC(reinterpret_cast<HDC>(std::stoull(log.back().substr(9), nullptr, 16))));
        EXPECT_EQ(hooks::LiveObjectCount(), objects);
        const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
        ASSERT_EQ(boxes.size(), r.box.empty() ? 1u : 2u);
        if (!r.box.empty()) {
            EXPECT_EQ(boxes[1].text, r.box);
            EXPECT_EQ(boxes[1].owner, hwnd);
            EXPECT_EQ(log[5], "MessageBoxA(" + log[5].substr(12, log[5].find(',') - 12) + "," + r.box +
                                  ",Graphics Library,0x30)");
            EXPECT_EQ(cups.JobCount(), jobs); // no job was started
        }
    }
}

TEST_F(Printing, WithoutBufferingTheBoxComesFirstThenTheScreenIsPrinted)
{
    PrivateCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(200, 100, false);
    hooks::AnswerNextBox("OK");
    EXPECT_EQ(PrintVia(*w, "file-a4"), "");
    const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, hwnd);
    EXPECT_EQ(boxes[0].text, "Double-buffering must be enabled for printing to work.  Sorry.");
    EXPECT_EQ(boxes[0].icon, "warning");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes[1].caption, "Print");
    EXPECT_EQ(boxes[1].owner, hwnd);
    ASSERT_TRUE(cups.WaitIdle("file-a4"));
    const Raster page = PdfPage(cups.OutputOf("file-a4"), 150, 150);
    EXPECT_EQ(Marks(page), (std::array<int, 4>{38, 75 + 511, 38 + 1164, 75 + 511 + 582}));
}

TEST_F(Printing, CancelPrintsNothingAndSaysNothing)
{
    PrivateCups cups;
    QG_REQUIRE_CUPS(cups);
    auto w = PictureWindow(20, 10);
    const int objects = hooks::LiveObjectCount();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    w->Print(); // the headless dialog is dismissed
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    testing::internal::GetCapturedStderr();
    const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    // The default destination first, then the others, the file and Cancel.
    EXPECT_EQ(boxes[0].buttons,
              (std::vector<std::string>{"file-a4", "archive-letter", "bare", "Save as PDF", "Cancel"}));
    EXPECT_EQ(boxes[0].answer, "Cancel");
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
    EXPECT_EQ(cups.JobCount(), 0);
}

TEST_F(Printing, JobsOutOfOrderFailAndAnOpenDocumentIsCancelledOrFinished)
{
    PrivateCups cups;
    QG_REQUIRE_CUPS(cups);
    auto choose = [] {
        hooks::AnswerNextBox("file-a4");
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_RETURNDC;
        EXPECT_TRUE(PrintDlgA(&pd));
        return pd.hDC;
    };
    DOCINFOA di{};
    di.cbSize = sizeof di;
    HDC hdc = choose();
    EXPECT_LE(StartPage(hdc), 0);
    EXPECT_LE(EndDoc(hdc), 0);
    ASSERT_GT(StartDocA(hdc, &di), 0);
    EXPECT_LE(StartDocA(hdc, &di), 0);
    EXPECT_LE(EndPage(hdc), 0);
    EXPECT_GT(StartPage(hdc), 0);
    // Deleting the DC with the document open cancels the job: nothing is printed.
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_TRUE(cups.WaitIdle("file-a4"));
    EXPECT_FALSE(std::filesystem::exists(cups.OutputOf("file-a4")));
    // A page still open at EndDoc is printed, not lost.
    hdc = choose();
    ASSERT_GT(StartDocA(hdc, &di), 0);
    ASSERT_GT(StartPage(hdc), 0);
    EXPECT_GT(EndDoc(hdc), 0);
    EXPECT_TRUE(cups.WaitIdle("file-a4"));
    EXPECT_EQ(PdfInfo(cups.OutputOf("file-a4"), "Pages"), "1");
    // A queue that refuses jobs makes StartDocA fail, and says why.
    ASSERT_EQ(RunTool("cupsreject file-a4"), 0);
    testing::internal::CaptureStderr();
    EXPECT_LE(StartDocA(hdc, &di), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("printing: cannot create a job"), std::string::npos);
    EXPECT_TRUE(DeleteDC(hdc));
}

TEST_F(Printing, SaveAsPdfWithoutPrintersNumbersItsFilesAndNeverOverwrites)
{
    ScratchFolder dir;
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path(""));
    setenv("LC_ALL", "C", 1); // A4
    setenv("CUPS_SERVER", dir.Path("none.sock").c_str(), 1); // nothing listens
    auto w = PictureWindow(200, 100);
    dir.Write("print-2.pdf", {'x'});
    testing::internal::CaptureStderr();
    EXPECT_EQ(PrintVia(*w, "Save as PDF"), "");
    EXPECT_EQ(PrintVia(*w, "Save as PDF"), "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the page was saved as " + dir.Path("print-1.pdf")), std::string::npos) << said;
    EXPECT_NE(said.find("the page was saved as " + dir.Path("print-3.pdf")), std::string::npos) << said;
    EXPECT_EQ(ReadFile("print-2.pdf"), "x");
    const std::vector<hooks::BoxRecord> boxes = hooks::TakeShownBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].buttons, (std::vector<std::string>{"Save as PDF", "Cancel"}));
    EXPECT_EQ(boxes[0].text.find("No printer was found"), 0u) << boxes[0].text;
    // The locale's paper at 300 dpi: A4 with quarter-inch margins.
    EXPECT_EQ(PdfInfo(dir.Path("print-3.pdf"), "Page size").substr(0, 18), "595.276 x 841.89 p");
    EXPECT_EQ(Marks(PdfPage(dir.Path("print-3.pdf"), 300, 300)),
              (std::array<int, 4>{75, 75 + 1096, 75 + 2330, 75 + 1096 + 1165}));
    // A file that cannot be written is reported, not taken for success.
    std::string error;
    EXPECT_FALSE(standin::print::WriteWholeFile("/dev/full", std::string(1 << 16, 'x'), &error));
    EXPECT_FALSE(error.empty());
    unsetenv("CUPS_SERVER");
    unsetenv("LC_ALL");
    std::filesystem::current_path(home);
}
