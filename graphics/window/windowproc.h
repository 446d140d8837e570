// windowproc.h - the window procedure registered with the library's window class, and
// the table that turns a key-down message into a queued key record.
#ifndef QUILLGRAPH_WINDOWPROC_H
#define QUILLGRAPH_WINDOWPROC_H

#include "../graphics.h"

LRESULT CALLBACK GraphicsWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The record a key-down of virtualKey queues; false for keys that queue nothing from
// their key-down (characters arrive later as WM_CHAR).
bool KeyRecordForVirtualKey(WPARAM virtualKey, KeyKind &kind, char &value);

#endif // QUILLGRAPH_WINDOWPROC_H
