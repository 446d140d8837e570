// print.h - running tools, PDF pages read back with poppler's tools, and a private CUPS
// scheduler, for the printing tests.
#ifndef QG_TESTS_SUPPORT_PRINT_H
#define QG_TESTS_SUPPORT_PRINT_H

#include "files.h"

// Runs a shell command; its exit status (-1 if it did not end normally), and what it
// wrote on both outputs when `output` is given.
int RunTool(const std::string &command, std::string *output = nullptr);
std::string Quoted(const std::string &s);

// A page turned back into pixels, 0xRRGGBB, rows top first.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
// The first page of a PDF at these resolutions with pdftoppm, without smoothing.
Raster PdfPage(const std::string &pdf, int xDpi, int yDpi);
// One field of pdfinfo's report ("Title", "Page size", "Pages"), or "" without it.
std::string PdfInfo(const std::string &pdf, const std::string &field);

// A CUPS scheduler of the test's own (tests/support/cups.sh: queues "file-a4", the
// default, A4 at 150 dpi; "archive-letter", Letter at 100 dpi; "bare", nothing known).
// This process's CUPS calls go to it while it lives.
class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups &) = delete;
    PrivateCups &operator=(const PrivateCups &) = delete;
    bool Started() const { return started_; }
    const std::string &Why() const { return why_; }
    std::string OutputOf(const std::string &queue) const { return dir_ + "/out/" + queue + ".pdf"; }
    // Waits up to half a minute for the queue to finish its jobs; false if it does not.
    bool WaitIdle(const std::string &queue) const;
    // How many jobs the scheduler has seen, finished or not.
    int JobCount() const;

private:
    std::string dir_;
    bool started_ = false;
    std::string why_;
};

#define QG_REQUIRE_CUPS(cups)                                                                                \
    do {                                                                                                     \
        if (!(cups).Started())                                                                               \
            GTEST_SKIP() << "no private CUPS scheduler can run here (scripts/deps.sh installs one): "       \
                         << (cups).Why();                                                                    \
    } while (0)

#endif // QG_TESTS_SUPPORT_PRINT_H
