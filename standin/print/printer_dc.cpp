// Printer DCs and their print jobs: StartDocA opens a CUPS job (or numbers a file), each
// EndPage adds the page to the job's PDF, and EndDoc sends the PDF to CUPS or writes it.
#include "print/printer_dc.h"

#include "gdi/dc.h"
#include "gdi/devcaps.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

extern "C" char *program_invocation_short_name; // glibc: the program's own name

namespace standin::print {

namespace {

constexpr gdi::Pixel kPaperWhite = 0xFFFFFF;

int &PdfFilesMade()
{
    static int count = 0;
    return count;
}

// Writes a new file, never replacing one: false with errno EEXIST when it exists.
bool WriteNewFile(const std::string &path, const std::string &bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int saved = errno;
            close(fd);
            unlink(path.c_str());
            errno = saved;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (close(fd) != 0) {
        const int saved = errno;
        unlink(path.c_str());
        errno = saved;
        return false;
    }
    return true;
}

std::string Absolute(const std::string &path)
{
    std::error_code ec;
    const auto abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.string();
}

} // namespace

PrintJob::PrintJob(PrintTarget target, DWORD rasterCaps) : target_(std::move(target)), rasterCaps_(rasterCaps) {}

PrintJob::~PrintJob()
{
    if (docStarted_ && IsPrinter() && jobId_ > 0) {
        std::string ignored;
        CancelJob(target_.destination, jobId_, &ignored);
    }
}

bool PrintJob::Fail(const std::string &why)
{
    std::fprintf(stderr, "%s: printing: %s\n", program_invocation_short_name, why.c_str());
    return false;
}

int PrintJob::StartDoc(const DOCINFOA &info)
{
    if (docStarted_)
        return SP_ERROR;
    title_ = info.lpszDocName && *info.lpszDocName ? info.lpszDocName : program_invocation_short_name;
    outputFile_ = info.lpszOutput ? info.lpszOutput : "";
    if (IsPrinter() && outputFile_.empty()) {
        std::string error;
        const int id = CreateJob(target_.destination, title_, &error);
        if (id <= 0) {
            Fail(error);
            return SP_ERROR;
        }
        jobId_ = id;
    } else {
        jobId_ = ++PdfFilesMade();
    }
    pdf_ = std::make_unique<PdfDocument>(title_);
    docStarted_ = true;
    pageStarted_ = false;
    return jobId_;
}

int PrintJob::StartPage(gdi::Surface &page)
{
    if (!docStarted_ || pageStarted_)
        return SP_ERROR;
    // Every sheet starts blank.
    std::fill(page.pixels.begin(), page.pixels.end(), kPaperWhite);
    pageStarted_ = true;
    return 1;
}

int PrintJob::EndPage(const gdi::Surface &page)
{
    if (!docStarted_ || !pageStarted_)
        return SP_ERROR;
    pageStarted_ = false;
    std::string error;
    if (!pdf_->AddPage(page, Geometry(), &error)) {
        Fail(error);
        return SP_ERROR;
    }
    return 1;
}

int PrintJob::EndDoc(const gdi::Surface &page)
{
    if (!docStarted_)
        return SP_ERROR;
    // A page left open is printed as it stands rather than lost.
    if (pageStarted_ && EndPage(page) <= 0)
        pageStarted_ = false;
    docStarted_ = false;
    const bool toCups = IsPrinter() && outputFile_.empty();
    std::unique_ptr<PdfDocument> doc = std::move(pdf_);
    std::string bytes, error;
    if (doc->PageCount() == 0) {
        // Nothing to print: the job ends without a document.
        if (toCups)
            CancelJob(target_.destination, jobId_, &error);
        return 1;
    }
    if (!doc->Finish(&bytes, &error)) {
        if (toCups)
            CancelJob(target_.destination, jobId_, &error);
        Fail(error);
        return SP_ERROR;
    }
    if (toCups) {
        if (!SendDocument(target_.destination, jobId_, bytes, &error)) {
            std::string ignored;
            CancelJob(target_.destination, jobId_, &ignored);
            Fail(error);
            return SP_ERROR;
        }
        return 1;
    }
    if (!outputFile_.empty()) {
        if (!WriteWholeFile(outputFile_, bytes, &error)) {
            Fail(error);
            return SP_ERROR;
        }
        return 1;
    }
    return WriteNumberedPdf(bytes) ? 1 : SP_ERROR;
}

bool PrintJob::WriteNumberedPdf(const std::string &bytes)
{
    // "Save as PDF": the first free print-N.pdf in the current folder, never overwriting.
    for (int n = 1; n < 100000; ++n) {
        const std::string name = "print-" + std::to_string(n) + ".pdf";
        if (WriteNewFile(name, bytes)) {
            std::fprintf(stderr, "%s: the page was saved as %s\n", program_invocation_short_name,
                         Absolute(name).c_str());
            return true;
        }
        if (errno != EEXIST)
            return Fail(name + ": " + std::strerror(errno));
    }
    return Fail("no free print-N.pdf name in the current folder");
}

namespace {

// GetDeviceCaps of a printer DC: its page at the printer's resolution.
int PageCaps(const PrintJob &job, int index)
{
    const PageGeometry &g = job.Geometry();
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return gdi::MillimetresOf(g.WidthPx(), g.xDpi);
    case VERTSIZE: return gdi::MillimetresOf(g.HeightPx(), g.yDpi);
    case HORZRES: return g.WidthPx();
    case VERTRES: return g.HeightPx();
    case BITSPIXEL: return gdi::kBitsPerPixel;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return static_cast<int>(job.RasterCaps());
    case LOGPIXELSX: return g.xDpi;
    case LOGPIXELSY: return g.yDpi;
    case PHYSICALWIDTH: return static_cast<int>(int64_t{g.media.width} * g.xDpi / 2540);
    case PHYSICALHEIGHT: return static_cast<int>(int64_t{g.media.length} * g.yDpi / 2540);
    case PHYSICALOFFSETX: return g.LeftPx();
    case PHYSICALOFFSETY: return g.TopPx();
    default: return 0;
    }
}

bool PrinterCaps(HDC hdc, int index, int *value)
{
    const PrintJob *job = FindPrintJob(hdc);
    if (!job)
        return false;
    *value = PageCaps(*job, index);
    return true;
}

} // namespace

HDC CreatePrinterDC(const PrintTarget &target)
{
    gdi::Lookups().printerCaps = PrinterCaps;
    const PageGeometry &g = target.destination.geometry;
    auto page = std::make_shared<gdi::ClientArea>();
    page->surface = gdi::Surface(g.WidthPx(), g.HeightPx(), kPaperWhite);
    return gdi::CreatePrinterDC(std::move(page), std::make_shared<PrintJob>(target, NextPrinterRasterCaps()));
}

PrintJob *FindPrintJob(HDC hdc)
{
    gdi::DC *dc = gdi::FindDC(hdc);
    if (!dc || dc->type != gdi::DCType::Printer)
        return nullptr;
    return static_cast<PrintJob *>(dc->device.get());
}

DWORD &RemovedCaps()
{
    static DWORD removed = 0;
    return removed;
}

DWORD NextPrinterRasterCaps() { return kPrinterRasterCaps & ~RemovedCaps(); }

} // namespace standin::print
