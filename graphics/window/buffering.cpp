// buffering.cpp - double buffering: drawing goes to an off-screen bitmap in a memory
// context while it is on, and reaches the screen only when UpdateBuffer copies it there.
#include "../graphics.h"
#include "report.h"

#include <climits>

namespace {

// The far edge of the drawing area, one less than its size; a size at the bottom of the
// int range stays there instead of wrapping round to the top.
int OneLess(int size)
{
    return size == INT_MIN ? INT_MIN : size - 1;
}

} // namespace

bool window::SetBuffering(bool on)
{
    PumpMessages();
    if (on == bDoubleBuffer)
        return bDoubleBuffer;
    const bool previous = bDoubleBuffer;
    bDoubleBuffer = on;
    if (on) {
        bmapBuffer = CreateDiscardableBitmap(dcActive, iWindowWidth, iWindowHeight);
        dcScreen = dcActive;
        dcActive = CreateCompatibleDC(dcScreen);
        // Without a context there is nowhere to put the bitmap; the drawing operations
        // report their own failures from here on.
        if (dcActive)
            bmapInitial = static_cast<HBITMAP>(SelectObject(dcActive, bmapBuffer));
        // A new bitmap holds nothing in particular. The white pen and brush stay: the
        // colours in force before are not brought back.
        SetPen(WHITE, 1);
        SetBrush(WHITE);
        DrawRectangle(0, 0, OneLess(iWindowWidth), OneLess(iWindowHeight), STYLE_FILLED, 0, 0);
    } else {
        SelectObject(dcActive, bmapInitial);
        bmapInitial = nullptr;
        if (dcActive) {
            if (DeleteDC(dcActive) != 1)
                ReportError("Fatal Error: Failed to delete dcActive in SetBuffering!");
            dcActive = nullptr;
        }
        if (bmapBuffer) {
            if (DeleteObject(bmapBuffer) != 1)
                ReportError("Fatal Error: Failed to delete bmapBuffer in SetBuffering!");
            bmapBuffer = nullptr;
        }
        // Whatever was drawn since the last UpdateBuffer is gone with the buffer.
        dcActive = dcScreen;
    }
    return previous;
}

void window::UpdateBuffer()
{
    PumpMessages();
    if (!bDoubleBuffer)
        return;
    // One column and one row short of the buffer: exactly the block that switching on
    // cleared, so the screen never shows the new bitmap's uncleared edge.
    if (BitBlt(dcScreen, 0, 0, OneLess(iWindowWidth), OneLess(iWindowHeight), dcActive, 0, 0, SRCCOPY) != 1)
        ReportError("Fatal Error: Failed to BitBlt in UpdateBuffer!");
}
