// print_test_util.h - what the printing tests share: temporary folders, running tools,
// PDF pages turned back into pixels with pdftoppm, and a private CUPS scheduler.
#ifndef QG_TESTS_PRINT_TEST_UTIL_H
#define QG_TESTS_PRINT_TEST_UTIL_H

#include "gdi/surface.h"
#include "print/cups_destinations.h"

#include <string>

namespace printtest {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &Path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs a shell command; returns its exit status (-1 if it could not run) and, when
// `output` is given, what it wrote on standard output and standard error.
int Run(const std::string &command, std::string *output = nullptr);

// Quotes a string for the shell.
std::string Quoted(const std::string &s);

std::string ReadWholeFile(const std::string &path);

// Rasterises the first page of a PDF with pdftoppm at the given resolutions, without
// anti-aliasing. Empty surface (and a failed expectation) when pdftoppm fails.
standin::gdi::Surface PdfToPixels(const std::string &pdfPath, int xDpi, int yDpi);

// The page size pdfinfo reports, in points.
bool PdfPageSize(const std::string &pdfPath, double *widthPt, double *heightPt);

// Counts the pixels of `region` of `page` at (left, top) that differ from `expected`.
// Pixels of `expected` that fall outside `page` count as differing.
long CountDifferences(const standin::gdi::Surface &page, int left, int top, const standin::gdi::Surface &expected);

// Counts pixels of `page` outside the rectangle (left, top, width, height) that are not
// white.
long CountMarksOutside(const standin::gdi::Surface &page, int left, int top, int width, int height);

// A CUPS scheduler of this test's own, on a socket in a temporary folder, with the
// queues tests/print/loopback-cups.sh sets up; the process's CUPS calls go to it while
// it lives.
class LoopbackCups {
public:
    LoopbackCups();
    ~LoopbackCups();
    LoopbackCups(const LoopbackCups &) = delete;
    LoopbackCups &operator=(const LoopbackCups &) = delete;

    // False when cupsd cannot run on this machine at all; `Why()` says what happened.
    bool Started() const { return started_; }
    const std::string &Why() const { return why_; }
    // Where a file queue writes the document of its last job.
    std::string OutputOf(const std::string &queue) const { return dir_ + "/out/" + queue + ".pdf"; }

private:
    std::string dir_;
    bool started_ = false;
    std::string why_;
};

// Waits (up to half a minute) until a job has left the queue; returns its final state.
standin::print::JobState WaitForJob(const standin::print::Destination &dest, int jobId);

// Waits (up to half a minute) until a queue has no job left to do.
void WaitForIdleQueue(const std::string &queue);

// A handle as the stand-in's call log prints it.
std::string Hex(const void *handle);

// A destination of the list by name; fails the test when it is missing.
standin::print::Destination FindDestination(const std::string &name);

} // namespace printtest

// Skips the test, saying why, when the private scheduler cannot run here at all.
#define QG_REQUIRE_CUPS(cups)                                                                                    \
    do {                                                                                                         \
        if (!(cups).Started())                                                                                   \
            GTEST_SKIP() << "no private CUPS scheduler could run here (bash scripts/deps.sh installs one): "     \
                         << (cups).Why();                                                                        \
    } while (0)

#endif // QG_TESTS_PRINT_TEST_UTIL_H
