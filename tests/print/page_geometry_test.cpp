// The printable area in printer pixels, and the paper a printer that says nothing gets.
#include "print/page_geometry.h"
#include "print_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using standin::print::Media;
using standin::print::PageGeometry;

namespace {

PageGeometry Geometry(Media m, int xDpi, int yDpi)
{
    PageGeometry g;
    g.media = std::move(m);
    g.xDpi = xDpi;
    g.yDpi = yDpi;
    return g;
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::string &value) : name_(name)
    {
        if (const char *old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char *name_;
    bool had_ = false;
    std::string old_;
};

} // namespace

TEST(PageGeometry, PrintableAreaInWholePixelsInsideTheMargins)
{
    // A4 with quarter-inch margins at 300 dpi: the margins are exactly 75 pixels.
    PageGeometry a4 = Geometry(standin::print::A4Media(), 300, 300);
    EXPECT_EQ(a4.LeftPx(), 75);
    EXPECT_EQ(a4.TopPx(), 75);
    EXPECT_EQ(a4.WidthPx(), 2480 - 75 - 75);  // 210 mm = 2480.3 px, the last part pixel is lost
    EXPECT_EQ(a4.HeightPx(), 3507 - 75 - 75); // 297 mm = 3507.9 px
    EXPECT_NEAR(a4.PaperWidthPt(), 595.276, 0.001);
    EXPECT_NEAR(a4.PaperHeightPt(), 841.89, 0.001);

    // Margins that are not whole pixels: the area starts at the next whole pixel and
    // ends at the last one that fits, so it never reaches into a margin.
    PageGeometry odd = Geometry({"x", 21000, 29700, 423, 423, 500, 1000}, 300, 600);
    EXPECT_EQ(odd.LeftPx(), 50);  // 49.96
    EXPECT_EQ(odd.TopPx(), 119);  // 118.1 at 600 dpi
    EXPECT_EQ(odd.WidthPx(), 2430 - 50);  // right edge at 2430.35
    EXPECT_EQ(odd.HeightPx(), 6779 - 119); // bottom edge at 6779.5

    // Different resolutions across and down.
    PageGeometry letter = Geometry(standin::print::LetterMedia(), 600, 300);
    EXPECT_EQ(letter.LeftPx(), 150);
    EXPECT_EQ(letter.TopPx(), 75);
    EXPECT_EQ(letter.WidthPx(), 5100 - 300);
    EXPECT_EQ(letter.HeightPx(), 3300 - 150);

    // Margins wider than the sheet leave nothing, rather than a negative size.
    PageGeometry none = Geometry({"x", 1000, 1000, 600, 600, 600, 600}, 300, 300);
    EXPECT_EQ(none.WidthPx(), 0);
    EXPECT_EQ(none.HeightPx(), 0);
}

TEST(PageGeometry, ResolutionIsBoundedAndDefaulted)
{
    EXPECT_EQ(standin::print::UsableDpi(0), 300);
    EXPECT_EQ(standin::print::UsableDpi(-72), 300);
    EXPECT_EQ(standin::print::UsableDpi(150), 150);
    EXPECT_EQ(standin::print::UsableDpi(600), 600);
    EXPECT_EQ(standin::print::UsableDpi(1200), 600);
}

TEST(PageGeometry, PaperFollowsTheLocale)
{
    {
        ScopedEnv all("LC_ALL", "C");
        EXPECT_EQ(standin::print::LocalePaper().name, "iso_a4_210x297mm");
        const PageGeometry g = standin::print::DefaultGeometry();
        EXPECT_EQ(g.media.width, 21000);
        EXPECT_EQ(g.media.left, 635);
        EXPECT_EQ(g.xDpi, 300);
        EXPECT_EQ(g.yDpi, 300);
    }
    {
        // A locale not installed on the system falls back to A4 rather than failing.
        ScopedEnv all("LC_ALL", "xx_NOWHERE.UTF-8");
        EXPECT_EQ(standin::print::LocalePaper().name, "iso_a4_210x297mm");
    }

    // A locale of Letter paper, compiled for this test alone: only its paper category.
    printtest::TempDir dir;
    const std::string source = dir.File("letter.src");
    {
        std::FILE *f = std::fopen(source.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("LC_PAPER\nheight 279\nwidth 216\nEND LC_PAPER\n", f);
        std::fclose(f);
    }
    std::string out;
    // localedef warns about the categories left out, and says so in its exit status.
    printtest::Run("localedef -c -f UTF-8 -i " + printtest::Quoted(source) + " " +
                       printtest::Quoted(dir.File("en_QG.UTF-8")),
                   &out);
    ASSERT_TRUE(std::filesystem::exists(dir.File("en_QG.UTF-8/LC_PAPER"))) << "localedef: " << out;

    ScopedEnv path("LOCPATH", dir.Path());
#if defined(__SANITIZE_ADDRESS__)
    // glibc's newlocale keeps the search path it builds from LOCPATH and never frees it.
    __lsan::ScopedDisabler glibcKeepsLocpath;
#endif
    {
        ScopedEnv all("LC_ALL", "en_QG.UTF-8");
        EXPECT_EQ(standin::print::LocalePaper().name, "na_letter_8.5x11in");
        EXPECT_EQ(standin::print::DefaultGeometry().media.length, 27940);
    }
    {
        // LC_PAPER alone is enough, and LC_ALL overrides it.
        ScopedEnv paper("LC_PAPER", "en_QG.UTF-8");
        EXPECT_EQ(standin::print::LocalePaper().name, "na_letter_8.5x11in");
        ScopedEnv all("LC_ALL", "C");
        EXPECT_EQ(standin::print::LocalePaper().name, "iso_a4_210x297mm");
    }
}
