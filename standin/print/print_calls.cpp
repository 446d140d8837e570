// The print dialog and the print-job calls: PrintDlgA as a modal box listing the CUPS
// destinations (the default first), "Save as PDF" and "Cancel"; StartDocA, StartPage,
// EndPage and EndDoc on the printer DC it returns.
#include "common/trace.h"
#include "gdi/dc.h"
#include "print/printer_dc.h"
#include "user/boxes.h"

#include <cstdio>

namespace {

using namespace standin;

// The request as the call log shows it: {size,owner,devMode,devNames,flags}.
std::string Describe(const PRINTDLGA *pd)
{
    std::string s;
    if (!pd) {
        trace::Append(s, static_cast<const void *>(nullptr));
        return s;
    }
    s += '{';
    trace::Append(s, pd->lStructSize);
    s += ',';
    trace::Append(s, static_cast<const void *>(pd->hwndOwner));
    s += ',';
    trace::Append(s, static_cast<const void *>(pd->hDevMode));
    s += ',';
    trace::Append(s, static_cast<const void *>(pd->hDevNames));
    s += ',';
    trace::Append(s, pd->Flags);
    s += '}';
    return s;
}

// {size,docName,output,datatype,type}
std::string Describe(const DOCINFOA *di)
{
    std::string s;
    if (!di) {
        trace::Append(s, static_cast<const void *>(nullptr));
        return s;
    }
    s += '{';
    trace::Append(s, di->cbSize);
    s += ',';
    trace::Append(s, di->lpszDocName);
    s += ',';
    trace::Append(s, di->lpszOutput);
    s += ',';
    trace::Append(s, di->lpszDatatype);
    s += ',';
    trace::Append(s, di->fwType);
    s += '}';
    return s;
}

std::string PaperLine(const print::Destination &d)
{
    const print::PageGeometry &g = d.geometry;
    char line[256];
    std::snprintf(line, sizeof line, "%s%s: %.0f x %.0f mm paper, %d dpi", d.DisplayName().c_str(),
                  d.isDefault ? " (default)" : "", g.media.width / 100.0, g.media.length / 100.0, g.xDpi);
    std::string s = line;
    if (!d.info.empty() && d.info != d.name)
        s += " - " + d.info;
    return s;
}

user::BoxSpec DialogFor(const std::vector<print::Destination> &dests, const std::string &error)
{
    user::BoxSpec box;
    box.caption = "Print";
    if (dests.empty()) {
        box.text = "No printer was found (" + error + ").\n\nThe page can be saved as a PDF file instead.";
    } else {
        box.text = "Choose where the page goes:\n";
        for (const print::Destination &d : dests)
            box.text += "\n" + PaperLine(d);
    }
    box.text += "\n\nSave as PDF writes the page to print-N.pdf in the current folder.";
    box.icon = user::BoxSpec::Icon::None;
    for (const print::Destination &d : dests)
        box.buttons.push_back(d.DisplayName());
    box.buttons.push_back("Save as PDF");
    box.buttons.push_back("Cancel");
    box.defaultButton = 0;
    box.cancelButton = static_cast<int>(box.buttons.size()) - 1;
    return box;
}

} // namespace

extern "C" BOOL WINAPI PrintDlgA(LPPRINTDLGA pPD)
{
    if (trace::Enter("PrintDlgA", Describe(pPD).c_str()))
        return FALSE;
    if (!pPD || pPD->lStructSize != sizeof(PRINTDLGA))
        return FALSE;
    if (pPD->hwndOwner && !user::FindWindow(pPD->hwndOwner))
        return FALSE;

    std::string error;
    const std::vector<print::Destination> dests = print::ListDestinations(&error);
    const user::BoxSpec box = DialogFor(dests, error);
    std::string why;
    const int chosen = user::RunModalBox(pPD->hwndOwner, box, &why);
    if (chosen < 0) {
        std::fprintf(stderr, "Print: printing was not possible: the print dialog could not be shown (%s)\n",
                     why.c_str());
        std::fflush(stderr);
    }
    if (chosen < 0 || chosen == box.cancelButton)
        return FALSE;

    print::PrintTarget target;
    if (chosen < static_cast<int>(dests.size())) {
        target.kind = print::PrintTarget::Kind::Printer;
        target.destination = dests[static_cast<size_t>(chosen)];
    } else {
        target.kind = print::PrintTarget::Kind::PdfFile;
        target.destination.name = "Save as PDF";
        target.destination.geometry = print::DefaultGeometry();
    }
    // The stand-in hands out no device-mode or device-names memory: those stay as given.
    pPD->hDC = (pPD->Flags & PD_RETURNDC) ? print::CreatePrinterDC(target) : nullptr;
    return TRUE;
}

namespace {

// The page of a printer DC (its job known to exist).
gdi::Surface &PageOf(HDC hdc) { return *gdi::TargetSurface(*gdi::FindDC(hdc)); }

} // namespace

extern "C" int WINAPI StartDocA(HDC hdc, const DOCINFOA *lpdi)
{
    if (trace::Enter("StartDocA", hdc, Describe(lpdi).c_str()))
        return SP_ERROR;
    print::PrintJob *job = print::FindPrintJob(hdc);
    if (!job || !lpdi)
        return SP_ERROR;
    return job->StartDoc(*lpdi);
}

extern "C" int WINAPI StartPage(HDC hdc)
{
    if (trace::Enter("StartPage", hdc))
        return SP_ERROR;
    print::PrintJob *job = print::FindPrintJob(hdc);
    return job ? job->StartPage(PageOf(hdc)) : SP_ERROR;
}

extern "C" int WINAPI EndPage(HDC hdc)
{
    if (trace::Enter("EndPage", hdc))
        return SP_ERROR;
    print::PrintJob *job = print::FindPrintJob(hdc);
    return job ? job->EndPage(PageOf(hdc)) : SP_ERROR;
}

extern "C" int WINAPI EndDoc(HDC hdc)
{
    if (trace::Enter("EndDoc", hdc))
        return SP_ERROR;
    print::PrintJob *job = print::FindPrintJob(hdc);
    return job ? job->EndDoc(PageOf(hdc)) : SP_ERROR;
}
