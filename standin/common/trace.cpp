// The call log and failure injection shared by every stand-in entry point.
#include "common/trace.h"

#include <cstdio>

namespace standin::trace {

State &Get()
{
    static State state;
    return state;
}

bool TakeFailure(const char *name)
{
    State &s = Get();
    auto it = s.failures.find(name);
    if (it == s.failures.end())
        return false;
    --s.pendingFailures;
    if (--it->second == 0)
        s.failures.erase(it);
    return true;
}

namespace {

void AppendUnsigned(std::string &out, unsigned long long v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, v < 10 ? "%llu" : "0x%llX", v);
    out += buf;
}

} // namespace

void Append(std::string &out, int v) { out += std::to_string(v); }
void Append(std::string &out, long long v) { out += std::to_string(v); }
// LPARAM, LRESULT and INT_PTR are `long` here; they carry packed words, so hex reads best.
void Append(std::string &out, long v) { AppendUnsigned(out, static_cast<unsigned long long>(static_cast<unsigned long>(v))); }
void Append(std::string &out, unsigned v) { AppendUnsigned(out, v); }
void Append(std::string &out, unsigned long v) { AppendUnsigned(out, v); }
void Append(std::string &out, unsigned long long v) { AppendUnsigned(out, v); }

void Append(std::string &out, const char *s)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(s);
    if (!s)
        out += "NULL";
    else if (v < 0x10000) // an atom or resource number passed as a string pointer
        out += "#" + std::to_string(v);
    else
        out += s;
}

void Append(std::string &out, const void *p)
{
    if (!p) {
        out += "NULL";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    out += buf;
}

void Append(std::string &out, WNDPROC proc) { Append(out, reinterpret_cast<const void *>(proc)); }

// A structure's fields in braces, each as its own type is written.
template <class... Field> void AppendFields(std::string &out, const Field &...fields)
{
    const char *separator = "{";
    ((out += separator, Append(out, fields), separator = ","), ...);
    out += '}';
}

void Append(std::string &out, const WNDCLASSA *wc)
{
    if (!wc) {
        out += "NULL";
        return;
    }
    AppendFields(out, wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra,
                 static_cast<const void *>(wc->hInstance), static_cast<const void *>(wc->hIcon),
                 static_cast<const void *>(wc->hCursor), static_cast<const void *>(wc->hbrBackground),
                 wc->lpszMenuName, wc->lpszClassName);
}

void Append(std::string &out, const LOGFONTA *lf)
{
    if (!lf) {
        out += "NULL";
        return;
    }
    char face[LF_FACESIZE + 1] = {};
    for (int i = 0; i < LF_FACESIZE && lf->lfFaceName[i]; ++i)
        face[i] = lf->lfFaceName[i];
    char buf[200];
    std::snprintf(buf, sizeof buf, "{%d,%d,%d,%d,%d,%u,%u,%u,%u,%u,%u,%u,0x%X,%s}", lf->lfHeight, lf->lfWidth,
                  lf->lfEscapement, lf->lfOrientation, lf->lfWeight, lf->lfItalic, lf->lfUnderline,
                  lf->lfStrikeOut, lf->lfCharSet, lf->lfOutPrecision, lf->lfClipPrecision, lf->lfQuality,
                  lf->lfPitchAndFamily, face);
    out += buf;
}

void Append(std::string &out, const MSG *msg)
{
    if (!msg) {
        out += "NULL";
        return;
    }
    AppendFields(out, static_cast<const void *>(msg->hwnd), msg->message, msg->wParam, msg->lParam);
}

void Append(std::string &out, MSG *out_msg) { out += out_msg ? "out" : "NULL"; }

} // namespace standin::trace
