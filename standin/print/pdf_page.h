// pdf_page.h - one printed page as a PDF document: the printer DC's pixels, at the
// printer's resolution, placed on a sheet of the printer's paper where its printable
// area lies.
#ifndef STANDIN_PRINT_PDF_PAGE_H
#define STANDIN_PRINT_PDF_PAGE_H

#include "../gdi/surface.h"
#include "page_geometry.h"

#include <memory>
#include <string>

namespace standin::print {

// A PDF document built a page at a time: each page a sheet of its geometry's paper with
// the printable area's pixels placed as RenderPdfPage describes.
class PdfDocument {
public:
    explicit PdfDocument(std::string title); // the document's title; may be empty
    ~PdfDocument();
    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    bool AddPage(const gdi::Surface &page, const PageGeometry &geometry, std::string *error);
    // Ends the document and hands over its bytes; false (with the reason) on failure or
    // when no page was added.
    bool Finish(std::string *pdf, std::string *error);
    int PageCount() const { return pages_; }

private:
    struct Stream;
    std::string title_;
    std::unique_ptr<Stream> stream_;
    int pages_ = 0;
};

// A one-page PDF of the sheet `geometry` describes, with `page` (the printable area, one
// image pixel per printer pixel, drawn unsmoothed) at the printable area's origin. The
// rest of the sheet stays blank. `title` may be empty. On failure returns false and says
// why in `error`.
bool RenderPdfPage(const gdi::Surface &page, const PageGeometry &geometry, const std::string &title,
                   std::string *pdf, std::string *error);

// Writes bytes to a file, replacing it. False, with the reason in `error`, when the file
// cannot be written completely.
bool WriteWholeFile(const std::string &path, const std::string &bytes, std::string *error);

} // namespace standin::print

#endif // STANDIN_PRINT_PDF_PAGE_H
