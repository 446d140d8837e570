// printer_dc.h - printer DCs and the print job behind each: a white page the size of the
// printable area at the printer's resolution, pages collected into one PDF document, and
// the document sent to a CUPS queue or written to a file when the job ends.
#ifndef STANDIN_PRINT_PRINTER_DC_H
#define STANDIN_PRINT_PRINTER_DC_H

#include "../gdi/surface.h"
#include "cups_destinations.h"
#include "pdf_page.h"

#include <standin/win32.h>

#include <memory>
#include <string>

namespace standin::print {

// Where a printer DC's document goes.
struct PrintTarget {
    enum class Kind { Printer, PdfFile };
    Kind kind = Kind::PdfFile;
    Destination destination; // a printer: its CUPS queue; a PDF file: only the page is used
};

// RASTERCAPS of a printer DC: what GDI printers report for bitmaps and blits.
constexpr DWORD kPrinterRasterCaps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                                     RC_BIGFONT | RC_STRETCHBLT | RC_STRETCHDIB;

// The print job of one printer DC, from StartDocA to EndDoc. A job whose document never
// ended (the DC deleted first) is cancelled, so nothing half-made is printed.
class PrintJob {
public:
    PrintJob(PrintTarget target, DWORD rasterCaps);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    const PageGeometry &Geometry() const { return target_.destination.geometry; }
    DWORD RasterCaps() const { return rasterCaps_; }
    bool IsPrinter() const { return target_.kind == PrintTarget::Kind::Printer; }

    // The Win32 calls' work; each returns the call's result (> 0, or SP_ERROR).
    int StartDoc(const DOCINFOA &info);
    int StartPage(gdi::Surface &page);
    int EndPage(const gdi::Surface &page);
    int EndDoc(const gdi::Surface &page);

private:
    bool Fail(const std::string &why);
    bool WriteNumberedPdf(const std::string &bytes);

    PrintTarget target_;
    DWORD rasterCaps_;
    bool docStarted_ = false;
    bool pageStarted_ = false;
    int jobId_ = 0;           // the CUPS job (printers) or a count of this process's files
    std::string title_;
    std::string outputFile_;  // DOCINFOA's lpszOutput: the document goes there instead
    std::unique_ptr<PdfDocument> pdf_;
};

// A new printer DC for `target`, its page white.
HDC CreatePrinterDC(const PrintTarget &target);

// The job behind a printer DC; null for any other handle.
PrintJob *FindPrintJob(HDC hdc);

// The RASTERCAPS the next printer DC gets (the full set, less what a test removed).
DWORD NextPrinterRasterCaps();
// RASTERCAPS bits printer DCs are made without; 0 in a program (tests set it).
DWORD &RemovedCaps();

} // namespace standin::print

#endif // STANDIN_PRINT_PRINTER_DC_H
