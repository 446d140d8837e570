// page_geometry.cpp - printer pixels from CUPS's hundredths of a millimetre, and the
// paper a printer that says nothing gets: the one the user's locale names.
#include "page_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <langinfo.h>
#include <locale.h>
#endif

namespace standin::print {

namespace {

constexpr int64_t kHmmPerInch = 2540;

// Whole pixels before a length, rounding up: the first pixel at or after it.
int PixelsCeil(int hmm, int dpi)
{
    return static_cast<int>((int64_t{hmm} * dpi + kHmmPerInch - 1) / kHmmPerInch);
}

// Whole pixels that fit in a length, rounding down.
int PixelsFloor(int hmm, int dpi)
{
    return static_cast<int>(int64_t{hmm} * dpi / kHmmPerInch);
}

Media WithDefaultMargins(Media m)
{
    m.left = m.right = m.top = m.bottom = kDefaultMarginHmm;
    return m;
}

} // namespace

int PageGeometry::LeftPx() const { return PixelsCeil(media.left, xDpi); }
int PageGeometry::TopPx() const { return PixelsCeil(media.top, yDpi); }

int PageGeometry::WidthPx() const
{
    return std::max(0, PixelsFloor(media.width - media.right, xDpi) - LeftPx());
}

int PageGeometry::HeightPx() const
{
    return std::max(0, PixelsFloor(media.length - media.bottom, yDpi) - TopPx());
}

double PageGeometry::PaperWidthPt() const { return media.width * 72.0 / kHmmPerInch; }
double PageGeometry::PaperHeightPt() const { return media.length * 72.0 / kHmmPerInch; }

Media A4Media() { return WithDefaultMargins({"iso_a4_210x297mm", 21000, 29700, 0, 0, 0, 0}); }
Media LetterMedia() { return WithDefaultMargins({"na_letter_8.5x11in", 21590, 27940, 0, 0, 0, 0}); }

Media LocalePaper()
{
#if defined(__GLIBC__)
    // A locale object of its own, so the process's locale (which the program may rely
    // on for number formatting) is left alone.
    locale_t paper = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
    if (paper) {
        // glibc hands these two out as integers (millimetres) in the pointer's place.
        union {
            const char *string;
            unsigned word;
        } width{}, height{};
        width.string = nl_langinfo_l(_NL_PAPER_WIDTH, paper);
        height.string = nl_langinfo_l(_NL_PAPER_HEIGHT, paper);
        freelocale(paper);
        // Letter is 215.9 x 279.4 mm; locales write it as 216 x 279.
        if (width.word == 216 && height.word == 279)
            return LetterMedia();
    }
#endif
    return A4Media();
}

PageGeometry DefaultGeometry()
{
    PageGeometry g;
    g.media = LocalePaper();
    g.xDpi = g.yDpi = kDefaultDpi;
    return g;
}

int UsableDpi(int dpi)
{
    if (dpi <= 0)
        return kDefaultDpi;
    return std::min(dpi, kMaxDpi);
}

} // namespace standin::print
