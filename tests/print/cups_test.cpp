// Destinations and jobs against a real CUPS scheduler of the test's own: the queues'
// pages as their drivers describe them, and PDF documents that reach the printer's
// output unchanged.
#include "print/cups_destinations.h"
#include "print/pdf_page.h"
#include "print_test_util.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <filesystem>

using standin::print::Destination;
using standin::print::JobState;

namespace {

// A small real page for the queue's geometry.
std::string PagePdf(const Destination &d)
{
    standin::gdi::Surface page(d.geometry.WidthPx(), d.geometry.HeightPx(), 0xFFFFFF);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            page.Row(y)[x] = 0xFF0000;
    std::string pdf, error;
    EXPECT_TRUE(standin::print::RenderPdfPage(page, d.geometry, "cups test", &pdf, &error)) << error;
    return pdf;
}

} // namespace

TEST(Cups, DestinationsDefaultFirstWithTheirDriversPages)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    std::string error;
    const auto list = standin::print::ListDestinations(&error);
    ASSERT_EQ(list.size(), 3u) << error;

    // The default first, though CUPS lists by name.
    EXPECT_EQ(list[0].name, "file-a4");
    EXPECT_TRUE(list[0].isDefault);
    EXPECT_EQ(list[1].name, "archive-letter");
    EXPECT_EQ(list[2].name, "bare");
    EXPECT_FALSE(list[1].isDefault);

    // A4 and Letter from the drivers: PostScript sizes in points, margins of 18 points
    // at the sides and 36 at top and bottom; the resolutions the drivers name.
    const auto &a4 = list[0].geometry;
    EXPECT_TRUE(list[0].mediaKnown);
    EXPECT_TRUE(list[0].resolutionKnown);
    EXPECT_EQ(a4.media.name, "iso_a4_210x297mm");
    EXPECT_EQ(a4.media.width, 20990);
    EXPECT_EQ(a4.media.length, 29704);
    EXPECT_EQ(a4.media.left, 635);
    EXPECT_EQ(a4.media.top, 1270);
    EXPECT_EQ(a4.xDpi, 150);
    EXPECT_EQ(a4.LeftPx(), 38);
    EXPECT_EQ(a4.TopPx(), 75);
    EXPECT_EQ(a4.WidthPx(), 1164);
    EXPECT_EQ(a4.HeightPx(), 1604);

    const auto &letter = list[1].geometry;
    EXPECT_EQ(letter.media.name, "na_letter_8.5x11in");
    EXPECT_EQ(letter.xDpi, 100);
    EXPECT_EQ(letter.WidthPx(), 800);
    EXPECT_EQ(letter.HeightPx(), 1000);

    // A printer that says nothing gets the locale's paper at 300 dpi.
    EXPECT_FALSE(list[2].mediaKnown);
    EXPECT_FALSE(list[2].resolutionKnown);
    EXPECT_EQ(list[2].geometry.xDpi, 300);
    EXPECT_EQ(list[2].geometry.media.name, standin::print::LocalePaper().name);
}

TEST(Cups, SubmittedPdfReachesThePrinterUnchanged)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    for (const char *queue : {"file-a4", "archive-letter"}) {
        SCOPED_TRACE(queue);
        const Destination d = printtest::FindDestination(queue);
        const std::string pdf = PagePdf(d);
        std::string error;
        const int job = standin::print::CreateJob(d, "Graphics Window", &error);
        ASSERT_GT(job, 0) << error;
        ASSERT_TRUE(standin::print::SendDocument(d, job, pdf, &error)) << error;
        EXPECT_EQ(printtest::WaitForJob(d, job), JobState::Completed);
        EXPECT_EQ(printtest::ReadWholeFile(cups.OutputOf(queue)), pdf);
    }
}

TEST(Cups, JobIdsGrowAndCancelledJobsPrintNothing)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    const Destination d = printtest::FindDestination("file-a4");
    std::string error;
    const int first = standin::print::CreateJob(d, "first", &error);
    ASSERT_GT(first, 0) << error;
    // A job waits for its document.
    EXPECT_NE(standin::print::GetJobState(d, first), JobState::Completed);
    ASSERT_TRUE(standin::print::CancelJob(d, first, &error)) << error;
    EXPECT_EQ(printtest::WaitForJob(d, first), JobState::Canceled);
    EXPECT_FALSE(std::filesystem::exists(cups.OutputOf("file-a4")));

    const int second = standin::print::CreateJob(d, "second", &error);
    EXPECT_GT(second, first);
    EXPECT_TRUE(standin::print::CancelJob(d, second, &error)) << error;
}

TEST(Cups, FailuresAreReported)
{
    printtest::LoopbackCups cups;
    QG_REQUIRE_CUPS(cups);
    Destination missing;
    missing.name = "no-such-printer";
    std::string error;
    EXPECT_EQ(standin::print::CreateJob(missing, "x", &error), 0);
    EXPECT_NE(error.find("no-such-printer"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(standin::print::SendDocument(missing, 1, "%PDF-", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(standin::print::GetJobState(missing, 1), JobState::Unknown);

    // A printer that stops taking jobs refuses a new one.
    ASSERT_EQ(printtest::Run("cupsreject file-a4"), 0);
    const Destination d = printtest::FindDestination("file-a4");
    error.clear();
    EXPECT_EQ(standin::print::CreateJob(d, "x", &error), 0);
    EXPECT_FALSE(error.empty());
}

TEST(Cups, NoSchedulerMeansNoDestinations)
{
    printtest::TempDir dir;
    // A socket path where nothing listens.
    setenv("CUPS_SERVER", dir.File("none.sock").c_str(), 1);
    cupsSetServer(dir.File("none.sock").c_str());
    std::string error;
    EXPECT_TRUE(standin::print::ListDestinations(&error).empty());
    EXPECT_FALSE(error.empty());
    unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
}
