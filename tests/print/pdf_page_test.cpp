// The printed page as a PDF: the sheet's size, and the printable area's pixels where the
// margins put them, read back with pdftoppm at the printer's resolution.
#include "print/pdf_page.h"
#include "print_test_util.h"

#include <gtest/gtest.h>

using standin::gdi::Pixel;
using standin::gdi::Surface;
using standin::print::PageGeometry;

namespace {

constexpr Pixel kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kBlack = 0x000000;

void Fill(Surface &s, int left, int top, int width, int height, Pixel p)
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            s.Row(y)[x] = p;
}

// A page that shows a flipped, shifted, swapped or smoothed copy: a red F on a blue
// block, a one-pixel checkerboard, and a different colour in each corner pixel.
Surface TestPage(int width, int height)
{
    Surface s(width, height, kWhite);
    Fill(s, 10, 10, 60, 90, kBlue);
    Fill(s, 20, 20, 10, 70, kRed);
    Fill(s, 30, 20, 30, 10, kRed);
    Fill(s, 30, 45, 20, 10, kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            s.Row(120 + y)[80 + x] = (x + y) % 2 ? kBlack : kWhite;
    s.Row(0)[0] = kRed;
    s.Row(0)[width - 1] = kGreen;
    s.Row(height - 1)[0] = kBlue;
    s.Row(height - 1)[width - 1] = kBlack;
    return s;
}

PageGeometry Geometry(standin::print::Media media, int xDpi, int yDpi)
{
    PageGeometry g;
    g.media = std::move(media);
    g.xDpi = xDpi;
    g.yDpi = yDpi;
    return g;
}

// Renders `page` on `g`, writes it, and checks the sheet and the pixels.
void CheckRoundTrip(const PageGeometry &g, const Surface &page)
{
    std::string pdf, error;
    ASSERT_TRUE(standin::print::RenderPdfPage(page, g, "round trip", &pdf, &error)) << error;
    ASSERT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
    printtest::TempDir dir;
    const std::string path = dir.File("page.pdf");
    ASSERT_TRUE(standin::print::WriteWholeFile(path, pdf, &error)) << error;

    double w = 0, h = 0;
    ASSERT_TRUE(printtest::PdfPageSize(path, &w, &h));
    EXPECT_NEAR(w, g.PaperWidthPt(), 0.01);
    EXPECT_NEAR(h, g.PaperHeightPt(), 0.01);

    // At the printer's resolution each image pixel is one output pixel: pdftoppm gives
    // back the page exactly, at the printable area's place.
    const Surface raster = printtest::PdfToPixels(path, g.xDpi, g.yDpi);
    ASSERT_GT(raster.width, 0);
    EXPECT_EQ(printtest::CountDifferences(raster, g.LeftPx(), g.TopPx(), page), 0);
    EXPECT_EQ(printtest::CountMarksOutside(raster, g.LeftPx(), g.TopPx(), page.width, page.height), 0);
}

} // namespace

TEST(PdfPage, A4PageComesBackPixelForPixelInsideItsMargins)
{
    const PageGeometry g = Geometry(standin::print::A4Media(), 150, 150);
    ASSERT_EQ(g.LeftPx(), 38);
    CheckRoundTrip(g, TestPage(g.WidthPx(), g.HeightPx()));
}

TEST(PdfPage, UnevenMarginsAndUnequalResolutions)
{
    // Letter, margins of different sizes, twice as many pixels across as down.
    const PageGeometry g = Geometry({"na_letter_8.5x11in", 21590, 27940, 1000, 300, 2000, 500}, 200, 100);
    CheckRoundTrip(g, TestPage(g.WidthPx(), g.HeightPx()));
}

TEST(PdfPage, EmptyPageIsABlankSheet)
{
    const PageGeometry g = Geometry(standin::print::LetterMedia(), 72, 72);
    std::string pdf, error;
    ASSERT_TRUE(standin::print::RenderPdfPage(Surface(), g, "", &pdf, &error)) << error;
    printtest::TempDir dir;
    ASSERT_TRUE(standin::print::WriteWholeFile(dir.File("blank.pdf"), pdf, &error)) << error;
    double w = 0, h = 0;
    ASSERT_TRUE(printtest::PdfPageSize(dir.File("blank.pdf"), &w, &h));
    EXPECT_NEAR(w, 612, 0.01);
    EXPECT_NEAR(h, 792, 0.01);
    const Surface raster = printtest::PdfToPixels(dir.File("blank.pdf"), 72, 72);
    EXPECT_EQ(printtest::CountMarksOutside(raster, 0, 0, 0, 0), 0);
}

TEST(PdfPage, TitleIsTheDocumentsTitle)
{
    const PageGeometry g = Geometry(standin::print::A4Media(), 72, 72);
    std::string pdf, error;
    ASSERT_TRUE(standin::print::RenderPdfPage(Surface(4, 4, kRed), g, "Graphics Window", &pdf, &error)) << error;
    printtest::TempDir dir;
    ASSERT_TRUE(standin::print::WriteWholeFile(dir.File("t.pdf"), pdf, &error)) << error;
    std::string info;
    ASSERT_EQ(printtest::Run("pdfinfo " + printtest::Quoted(dir.File("t.pdf")), &info), 0);
    const size_t at = info.find("Title:");
    ASSERT_NE(at, std::string::npos) << info;
    const size_t start = info.find_first_not_of(' ', at + 6);
    EXPECT_EQ(info.substr(start, info.find('\n', start) - start), "Graphics Window");
}

TEST(PdfPage, UnwritableFileIsReportedNotIgnored)
{
    std::string error;
    EXPECT_FALSE(standin::print::WriteWholeFile("/nonexistent-folder/page.pdf", "%PDF-", &error));
    EXPECT_NE(error.find("/nonexistent-folder/page.pdf"), std::string::npos) << error;
    // A full device fails on write or close, not on open.
    if (std::FILE *full = std::fopen("/dev/full", "wb")) {
        std::fclose(full);
        error.clear();
        EXPECT_FALSE(standin::print::WriteWholeFile("/dev/full", std::string(1 << 16, 'x'), &error));
        EXPECT_FALSE(error.empty());
    }
}
