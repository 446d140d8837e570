// pdf_page.cpp - the printed page through cairo's PDF surface. The page's pixels go in
// as one lossless image at the printer's resolution, so a PDF viewer or CUPS filter that
// rasterises at that resolution gets back exactly the pixels GDI drew.
#include "pdf_page.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace standin::print {

namespace {

struct SurfaceCloser {
    void operator()(cairo_surface_t *s) const { cairo_surface_destroy(s); }
};
struct ContextCloser {
    void operator()(cairo_t *cr) const { cairo_destroy(cr); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceCloser>;
using ContextPtr = std::unique_ptr<cairo_t, ContextCloser>;

cairo_status_t AppendToString(void *closure, const unsigned char *data, unsigned int length)
{
    try {
        static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc &) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}

bool Failed(cairo_status_t status, const char *what, std::string *error)
{
    if (status == CAIRO_STATUS_SUCCESS)
        return false;
    if (error)
        *error = std::string(what) + ": " + cairo_status_to_string(status);
    return true;
}

// Paints the printable area. The surface's rows are B,G,R,X little-endian words, which
// is cairo's RGB24 layout, and cairo's stride for RGB24 is exactly four bytes a pixel,
// so the pixels are used in place.
cairo_status_t PaintPage(cairo_t *cr, const gdi::Surface &page, const PageGeometry &g)
{
    if (page.width <= 0 || page.height <= 0)
        return CAIRO_STATUS_SUCCESS;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, page.width);
    if (stride != page.width * 4)
        return CAIRO_STATUS_INVALID_STRIDE;
    // cairo only reads a surface it is given as a source.
    auto *data = reinterpret_cast<unsigned char *>(const_cast<gdi::Pixel *>(page.pixels.data()));
    SurfacePtr image(cairo_image_surface_create_for_data(data, CAIRO_FORMAT_RGB24, page.width, page.height, stride));
    if (cairo_status_t s = cairo_surface_status(image.get()); s != CAIRO_STATUS_SUCCESS)
        return s;

    // Poppler (pdftoppm, and CUPS's pdftoraster) lets an image whose edge lies exactly on
    // a pixel boundary cover the pixel beyond it, and then resamples the image one pixel
    // larger, blurring it. Drawn a 1/256 pixel inside its area on every side, the image
    // maps one to one onto the device's pixels again; pixel centres move by less than
    // that, so rasterisers that sample at centres are not affected.
    constexpr double kInset = 1.0 / 256;
    const double ptPerPxX = 72.0 / g.xDpi;
    const double ptPerPxY = 72.0 / g.yDpi;
    cairo_translate(cr, (g.LeftPx() + kInset) * ptPerPxX, (g.TopPx() + kInset) * ptPerPxY);
    cairo_scale(cr, ptPerPxX * (page.width - 2 * kInset) / page.width,
                ptPerPxY * (page.height - 2 * kInset) / page.height);
    cairo_set_source_surface(cr, image.get(), 0, 0);
    // Printer pixels are hard-edged; a smoothing viewer would blur every line drawn.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    return cairo_status(cr);
}

} // namespace

struct PdfDocument::Stream {
    std::string bytes;
    SurfacePtr surface;
};

PdfDocument::PdfDocument(std::string title) : title_(std::move(title)) {}
PdfDocument::~PdfDocument() = default;

bool PdfDocument::AddPage(const gdi::Surface &page, const PageGeometry &geometry, std::string *error)
{
    if (!stream_) {
        stream_ = std::make_unique<Stream>();
        stream_->surface.reset(cairo_pdf_surface_create_for_stream(AppendToString, &stream_->bytes,
                                                                   geometry.PaperWidthPt(), geometry.PaperHeightPt()));
        if (Failed(cairo_surface_status(stream_->surface.get()), "cannot start the PDF", error)) {
            stream_.reset();
            return false;
        }
        if (!title_.empty())
            cairo_pdf_surface_set_metadata(stream_->surface.get(), CAIRO_PDF_METADATA_TITLE, title_.c_str());
        cairo_pdf_surface_set_metadata(stream_->surface.get(), CAIRO_PDF_METADATA_CREATOR, "Quillgraph");
    }
    cairo_surface_t *doc = stream_->surface.get();
    cairo_pdf_surface_set_size(doc, geometry.PaperWidthPt(), geometry.PaperHeightPt());
    cairo_status_t status;
    {
        ContextPtr cr(cairo_create(doc));
        status = PaintPage(cr.get(), page, geometry);
        if (status == CAIRO_STATUS_SUCCESS) {
            cairo_show_page(cr.get());
            status = cairo_status(cr.get());
        }
    }
    if (Failed(status, "cannot draw the page", error))
        return false;
    ++pages_;
    return true;
}

bool PdfDocument::Finish(std::string *pdf, std::string *error)
{
    pdf->clear();
    if (!stream_ || pages_ == 0) {
        if (error)
            *error = "the document has no page";
        return false;
    }
    cairo_surface_finish(stream_->surface.get());
    const cairo_status_t status = cairo_surface_status(stream_->surface.get());
    std::string bytes = std::move(stream_->bytes);
    stream_.reset();
    if (Failed(status, "cannot finish the PDF", error))
        return false;
    *pdf = std::move(bytes);
    return true;
}

bool RenderPdfPage(const gdi::Surface &page, const PageGeometry &geometry, const std::string &title,
                   std::string *pdf, std::string *error)
{
    pdf->clear();
    PdfDocument doc(title);
    return doc.AddPage(page, geometry, error) && doc.Finish(pdf, error);
}

bool WriteWholeFile(const std::string &path, const std::string &bytes, std::string *error)
{
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        if (error)
            *error = path + ": " + std::strerror(written ? errno : writeErrno);
        return false;
    }
    return true;
}

} // namespace standin::print
