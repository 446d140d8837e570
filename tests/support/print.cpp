// print.cpp - tool runs, poppler read-back and the private scheduler.
#include "print.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::string Quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int RunTool(const std::string &command, std::string *output)
{
    std::FILE *p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        text.append(buf, n);
    const int status = pclose(p);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Raster PdfPage(const std::string &pdf, int xDpi, int yDpi)
{
    const std::string prefix = pdf + ".raster";
    std::string out;
    const int rc = RunTool("pdftoppm -singlefile -aa no -aaVector no -rx " + std::to_string(xDpi) + " -ry " +
                           std::to_string(yDpi) + " " + Quoted(pdf) + " " + Quoted(prefix),
                       &out);
    EXPECT_EQ(rc, 0) << "pdftoppm: " << out;
    const std::string bytes = ReadFile(prefix + ".ppm");
    std::remove((prefix + ".ppm").c_str());
    std::istringstream header(bytes);
    std::string magic;
    Raster r;
    int maxval = 0;
    header >> magic >> r.width >> r.height >> maxval;
    const size_t start = static_cast<size_t>(header.tellg()) + 1;
    if (magic != "P6" || maxval != 255 || r.width <= 0 || r.height <= 0 ||
        bytes.size() < start + size_t(r.width) * r.height * 3) {
        ADD_FAILURE() << "no page from pdftoppm for " << pdf;
        return {};
    }
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data() + start);
    r.pixels.resize(size_t(r.width) * r.height);
    for (uint32_t &px : r.pixels)
        px = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2], p += 3;
    return r;
}

std::string PdfInfo(const std::string &pdf, const std::string &field)
{
    std::string out;
    EXPECT_EQ(RunTool("pdfinfo " + Quoted(pdf), &out), 0) << out;
    out = "\n" + out;
    const size_t at = out.find("\n" + field + ":");
    if (at == std::string::npos)
        return "";
    const size_t start = out.find_first_not_of(' ', at + field.size() + 2);
    return out.substr(start, out.find('\n', start) - start);
}

PrivateCups::PrivateCups()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qgcups.XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        why_ = "cannot make a folder";
        return;
    }
    dir_ = pattern;
    std::string out;
    const int rc = RunTool("bash " + Quoted(QG_SUPPORT_DIR "/cups.sh") + " start " + Quoted(dir_) + " " +
                           std::to_string(getpid()),
                       &out);
    why_ = out;
    if (rc == 77) // cupsd itself cannot run here
        return;
    if (rc != 0) {
        ADD_FAILURE() << "the private CUPS scheduler did not start: " << out;
        return;
    }
    const std::string socket = dir_ + "/cups.sock";
    // Child processes read the variable; libcups caches the server it found.
    setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(socket.c_str());
    started_ = true;
}

PrivateCups::~PrivateCups()
{
    if (started_) {
        unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
    if (!dir_.empty())
        RunTool("bash " + Quoted(QG_SUPPORT_DIR "/cups.sh") + " stop " + Quoted(dir_));
}

bool PrivateCups::WaitIdle(const std::string &queue) const
{
    for (int i = 0; i < 600; ++i) {
        cups_job_t *jobs = nullptr;
        const int active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

int PrivateCups::JobCount() const
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    return count;
}
