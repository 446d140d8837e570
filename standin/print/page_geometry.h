// page_geometry.h - where a printer page's pixels lie on the sheet: the paper and its
// margins as CUPS describes them (hundredths of a millimetre), the printer's resolution,
// and the printable area in printer pixels that a printer DC draws into.
#ifndef STANDIN_PRINT_PAGE_GEOMETRY_H
#define STANDIN_PRINT_PAGE_GEOMETRY_H

#include <string>

namespace standin::print {

// A sheet and its unprintable margins, in hundredths of a millimetre (CUPS's unit).
struct Media {
    std::string name; // PWG self-describing name, e.g. "iso_a4_210x297mm"
    int width = 0;
    int length = 0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// The printable area of one page in printer pixels, and where it sits on the sheet.
struct PageGeometry {
    Media media;
    int xDpi = 300;
    int yDpi = 300;

    // The printable area starts at the first whole pixel inside the left and top margins
    // and ends at the last whole pixel before the right and bottom ones, so nothing drawn
    // on the DC falls where the printer cannot print.
    int LeftPx() const;
    int TopPx() const;
    int WidthPx() const;  // HORZRES
    int HeightPx() const; // VERTRES

    // The sheet in PDF points (1/72 inch).
    double PaperWidthPt() const;
    double PaperHeightPt() const;
};

// The densest page a printer DC is given. The PDF is resolution-independent, so a finer
// printer loses nothing visible for a screen-sized picture, and an A4 page at 1200 dpi
// would take over half a gigabyte of memory.
constexpr int kMaxDpi = 600;
// What a printer that reports no resolution gets.
constexpr int kDefaultDpi = 300;
// Margins for a printer that reports no media: a quarter inch, the border most office
// printers cannot reach.
constexpr int kDefaultMarginHmm = 635;

Media A4Media();
Media LetterMedia();

// The sheet the user's locale asks for (LC_PAPER, through LC_ALL and LANG as usual):
// US Letter where the locale's paper is Letter, A4 everywhere else, including the C and
// POSIX locales and systems that do not say.
Media LocalePaper();

// Paper of the locale with default margins at the default resolution: for printers that
// report nothing, and for pages saved as PDF files.
PageGeometry DefaultGeometry();

// A resolution clamped to 1..kMaxDpi; 0 or less means unknown and gives kDefaultDpi.
int UsableDpi(int dpi);

} // namespace standin::print

#endif // STANDIN_PRINT_PAGE_GEOMETRY_H
