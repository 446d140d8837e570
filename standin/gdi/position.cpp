// position.cpp - a DC's current position: MoveToEx sets it; LineTo and text output under
// TA_UPDATECP start from it.
#include "gdi/dc.h"

#include "common/trace.h"

using namespace standin;
using namespace standin::gdi;

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    if (trace::Enter("MoveToEx", hdc, x, y, lppt)) return FALSE;
    DC *dc = FindDC(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}
