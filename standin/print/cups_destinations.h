// cups_destinations.h - the printers CUPS offers, what each one's page looks like, and
// print jobs on them: a job is created first and its one PDF document sent later, the
// way a Win32 print job is started and ended.
#ifndef STANDIN_PRINT_CUPS_DESTINATIONS_H
#define STANDIN_PRINT_CUPS_DESTINATIONS_H

#include "page_geometry.h"

#include <string>
#include <vector>

namespace standin::print {

struct Destination {
    std::string name;     // the queue's name
    std::string instance; // an lpoptions instance, usually empty
    std::string info;     // the printer's description, for people
    bool isDefault = false;
    bool mediaKnown = false;      // the printer named its default sheet and margins
    bool resolutionKnown = false; // the printer named its default resolution
    PageGeometry geometry;        // the page a printer DC for it draws; defaults fill in
                                  // whatever the printer did not say

    std::string DisplayName() const { return instance.empty() ? name : name + "/" + instance; }
};

// Every destination of the CUPS server the user would print to (CUPS_SERVER, the
// client.conf, else the local one), the user's default first, the others in CUPS's
// order. Empty, with the reason in `error`, when there is none or no server answers.
std::vector<Destination> ListDestinations(std::string *error);

// Creates a job of one document on a destination. Returns the job's id (> 0), or 0 with
// the reason in `error`.
int CreateJob(const Destination &dest, const std::string &title, std::string *error);

// Sends a job's one document, a PDF, and closes the job.
bool SendDocument(const Destination &dest, int jobId, const std::string &pdf, std::string *error);

// Cancels a job whose document will never come.
bool CancelJob(const Destination &dest, int jobId, std::string *error);

enum class JobState { Unknown, Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };

// Where a job stands, Unknown when the server does not know it.
JobState GetJobState(const Destination &dest, int jobId);

} // namespace standin::print

#endif // STANDIN_PRINT_CUPS_DESTINATIONS_H
