// cups_destinations.cpp - libcups behind the stand-in's printing: destinations with their
// default media and resolution, and jobs created, filled and cancelled through the
// destination API. Every call uses the user's default CUPS connection.
#include "cups_destinations.h"

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace standin::print {

namespace {

struct DestCloser {
    void operator()(cups_dest_t *d) const { cupsFreeDests(1, d); }
};
struct InfoCloser {
    void operator()(cups_dinfo_t *i) const { cupsFreeDestInfo(i); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestCloser>;
using InfoPtr = std::unique_ptr<cups_dinfo_t, InfoCloser>;

void SayWhy(std::string *error, const std::string &what)
{
    if (error)
        *error = what + ": " + cupsLastErrorString();
}

// The destination again, by name, with the server's current view of it.
DestPtr Lookup(const Destination &d, std::string *error)
{
    DestPtr dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, d.name.c_str(), d.instance.empty() ? nullptr : d.instance.c_str()));
    if (!dest)
        SayWhy(error, "no printer \"" + d.DisplayName() + "\"");
    return dest;
}

bool SaneMedia(const cups_size_t &s)
{
    return s.width > 0 && s.length > 0 && s.left >= 0 && s.right >= 0 && s.top >= 0 && s.bottom >= 0 &&
           s.left + s.right < s.width && s.top + s.bottom < s.length;
}

int DotsPerInch(ipp_attribute_t *resolution, int *yDpi)
{
    ipp_res_t units;
    int x = ippGetResolution(resolution, 0, yDpi, &units);
    if (units == IPP_RES_PER_CM) {
        x = static_cast<int>(std::lround(x * 2.54));
        *yDpi = static_cast<int>(std::lround(*yDpi * 2.54));
    }
    return x;
}

// Fills in what the printer says about its default page; the rest keeps the defaults.
void ReadPage(cups_dest_t *dest, Destination *out)
{
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest));
    if (!info)
        return;
    // cupsGetDestMediaDefault only looks at the user's own "media" option and otherwise
    // assumes US Letter, so the printer's media-default is asked for first.
    const char *name = cupsGetOption("media", dest->num_options, dest->options);
    if (!name) {
        if (ipp_attribute_t *media = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info.get(), "media"))
            name = ippGetString(media, 0, nullptr);
    }
    cups_size_t size{};
    const bool found =
        name ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info.get(), name, CUPS_MEDIA_FLAGS_DEFAULT, &size)
             : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info.get(), CUPS_MEDIA_FLAGS_DEFAULT, &size);
    if (found && SaneMedia(size)) {
        out->geometry.media = {size.media, size.width, size.length, size.left, size.right, size.top, size.bottom};
        out->mediaKnown = true;
    }
    if (ipp_attribute_t *res = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info.get(), "printer-resolution")) {
        int y = 0;
        int x = DotsPerInch(res, &y);
        if (x > 0 && y > 0) {
            out->geometry.xDpi = UsableDpi(x);
            out->geometry.yDpi = UsableDpi(y);
            out->resolutionKnown = true;
        }
    }
}

} // namespace

std::vector<Destination> ListDestinations(std::string *error)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<Destination> list;
    if (count <= 0) {
        SayWhy(error, "no printers");
        cupsFreeDests(count, dests);
        return list;
    }
    const PageGeometry fallback = DefaultGeometry();
    for (int i = 0; i < count; ++i) {
        cups_dest_t *d = &dests[i];
        Destination dest;
        dest.name = d->name;
        dest.instance = d->instance ? d->instance : "";
        const char *info = cupsGetOption("printer-info", d->num_options, d->options);
        dest.info = info ? info : "";
        dest.isDefault = d->is_default != 0;
        dest.geometry = fallback;
        ReadPage(d, &dest);
        list.push_back(std::move(dest));
    }
    cupsFreeDests(count, dests);
    std::stable_partition(list.begin(), list.end(), [](const Destination &d) { return d.isDefault; });
    return list;
}

int CreateJob(const Destination &d, const std::string &title, std::string *error)
{
    DestPtr dest = Lookup(d, error);
    if (!dest)
        return 0;
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info) {
        SayWhy(error, "printer \"" + d.DisplayName() + "\" does not answer");
        return 0;
    }
    int jobId = 0;
    if (cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest.get(), info.get(), &jobId, title.c_str(), 0, nullptr) > IPP_STATUS_OK_CONFLICTING ||
        jobId <= 0) {
        SayWhy(error, "cannot create a job on \"" + d.DisplayName() + "\"");
        return 0;
    }
    return jobId;
}

bool SendDocument(const Destination &d, int jobId, const std::string &pdf, std::string *error)
{
    DestPtr dest = Lookup(d, error);
    if (!dest)
        return false;
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info) {
        SayWhy(error, "printer \"" + d.DisplayName() + "\" does not answer");
        return false;
    }
    if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get(), jobId, "page", CUPS_FORMAT_PDF, 0, nullptr,
                              1) != HTTP_STATUS_CONTINUE) {
        SayWhy(error, "cannot send the page");
        return false;
    }
    // cupsFinishDestDocument must follow even after a failed write, to end the request.
    const bool written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
    const bool finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get()) <= IPP_STATUS_OK_CONFLICTING;
    if (!written || !finished) {
        SayWhy(error, "cannot send the page");
        return false;
    }
    return true;
}

bool CancelJob(const Destination &d, int jobId, std::string *error)
{
    DestPtr dest = Lookup(d, error);
    if (!dest)
        return false;
    if (cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest.get(), jobId) > IPP_STATUS_OK_CONFLICTING) {
        SayWhy(error, "cannot cancel the job");
        return false;
    }
    return true;
}

JobState GetJobState(const Destination &d, int jobId)
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, d.name.c_str(), 0, CUPS_WHICHJOBS_ALL);
    JobState state = JobState::Unknown;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id != jobId)
            continue;
        switch (jobs[i].state) {
        case IPP_JSTATE_PENDING: state = JobState::Pending; break;
        case IPP_JSTATE_HELD: state = JobState::Held; break;
        case IPP_JSTATE_PROCESSING: state = JobState::Processing; break;
        case IPP_JSTATE_STOPPED: state = JobState::Stopped; break;
        case IPP_JSTATE_CANCELED: state = JobState::Canceled; break;
        case IPP_JSTATE_ABORTED: state = JobState::Aborted; break;
        case IPP_JSTATE_COMPLETED: state = JobState::Completed; break;
        }
    }
    cupsFreeJobs(count, jobs);
    return state;
}

} // namespace standin::print
