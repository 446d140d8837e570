// print_test_util.cpp - temporary folders, tool runs, pdftoppm read-back and the private
// CUPS scheduler for the printing tests.
#include "print_test_util.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

namespace printtest {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qgprint.XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder";
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string Quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int Run(const std::string &command, std::string *output)
{
    std::FILE *p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    const int status = pclose(p);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadWholeFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

// Reads a binary PPM (P6, maxval 255) as pdftoppm writes it.
standin::gdi::Surface ReadPpm(const std::string &path)
{
    const std::string bytes = ReadWholeFile(path);
    std::istringstream header(bytes);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    header >> magic >> w >> h >> maxval;
    if (magic != "P6" || w <= 0 || h <= 0 || maxval != 255)
        return {};
    const size_t start = static_cast<size_t>(header.tellg()) + 1; // one whitespace byte
    if (bytes.size() < start + static_cast<size_t>(w) * h * 3)
        return {};
    standin::gdi::Surface s(w, h);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data() + start);
    for (size_t i = 0; i < s.pixels.size(); ++i, p += 3)
        s.pixels[i] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    return s;
}

} // namespace

standin::gdi::Surface PdfToPixels(const std::string &pdfPath, int xDpi, int yDpi)
{
    const std::string prefix = pdfPath + ".raster";
    std::string out;
    const int rc = Run("pdftoppm -singlefile -aa no -aaVector no -rx " + std::to_string(xDpi) + " -ry " +
                           std::to_string(yDpi) + " " + Quoted(pdfPath) + " " + Quoted(prefix),
                       &out);
    EXPECT_EQ(rc, 0) << "pdftoppm: " << out;
    standin::gdi::Surface s = ReadPpm(prefix + ".ppm");
    std::remove((prefix + ".ppm").c_str());
    EXPECT_GT(s.width, 0) << "no picture from pdftoppm";
    return s;
}

bool PdfPageSize(const std::string &pdfPath, double *widthPt, double *heightPt)
{
    std::string out;
    if (Run("pdfinfo " + Quoted(pdfPath), &out) != 0)
        return false;
    const size_t at = out.find("Page size:");
    return at != std::string::npos &&
           std::sscanf(out.c_str() + at, "Page size: %lf x %lf", widthPt, heightPt) == 2;
}

long CountDifferences(const standin::gdi::Surface &page, int left, int top, const standin::gdi::Surface &expected)
{
    long differences = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const int px = left + x, py = top + y;
            if (!page.Contains(px, py) || page.Row(py)[px] != expected.Row(y)[x])
                ++differences;
        }
    }
    return differences;
}

long CountMarksOutside(const standin::gdi::Surface &page, int left, int top, int width, int height)
{
    long marks = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const bool inside = x >= left && x < left + width && y >= top && y < top + height;
            if (!inside && page.Row(y)[x] != 0xFFFFFFu)
                ++marks;
        }
    }
    return marks;
}

LoopbackCups::LoopbackCups()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qgcups.XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        why_ = "cannot make a temporary folder";
        return;
    }
    dir_ = pattern;
    std::string out;
    const int rc = Run("bash " + Quoted(QG_LOOPBACK_CUPS) + " start " + Quoted(dir_) + " " + std::to_string(getpid()),
                       &out);
    if (rc == 77) { // cupsd itself cannot run here
        why_ = out;
        return;
    }
    if (rc != 0) {
        ADD_FAILURE() << "setting up the private CUPS scheduler failed: " << out;
        why_ = out;
        return;
    }
    const std::string socket = dir_ + "/cups.sock";
    // Child processes and libcups both look at the variable; libcups also caches the
    // server it found, which cupsSetServer replaces.
    setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(socket.c_str());
    started_ = true;
}

LoopbackCups::~LoopbackCups()
{
    if (started_) {
        unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
    if (!dir_.empty())
        Run("bash " + Quoted(QG_LOOPBACK_CUPS) + " stop " + Quoted(dir_));
}

standin::print::JobState WaitForJob(const standin::print::Destination &dest, int jobId)
{
    using standin::print::JobState;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    JobState state = JobState::Unknown;
    while (std::chrono::steady_clock::now() < deadline) {
        state = standin::print::GetJobState(dest, jobId);
        if (state == JobState::Completed || state == JobState::Canceled || state == JobState::Aborted)
            return state;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "job " << jobId << " did not finish";
    return state;
}

void WaitForIdleQueue(const std::string &queue)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        cups_job_t *jobs = nullptr;
        const int active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "the jobs of " << queue << " did not finish";
}

std::string Hex(const void *handle)
{
    if (!handle)
        return "NULL";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

standin::print::Destination FindDestination(const std::string &name)
{
    std::string error;
    for (const auto &d : standin::print::ListDestinations(&error))
        if (d.name == name)
            return d;
    ADD_FAILURE() << "no destination " << name << " (" << error << ")";
    standin::print::Destination none;
    none.name = name;
    return none;
}

} // namespace printtest
