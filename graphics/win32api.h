// win32api.h - the one place that chooses the platform under Quillgraph.
// Real Win32 on Windows; everywhere else the stand-in that implements the same subset.
#ifndef QUILLGRAPH_WIN32API_H
#define QUILLGRAPH_WIN32API_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>
#include <commdlg.h>
// <winerror.h> spells two of the library's error values as macros; the library's
// enumeration owns these names, so the macros go here, once, before graphics.h uses them.
#undef ERROR_OUT_OF_MEMORY
#undef ERROR_FILE_NOT_FOUND
#else
#include "standin/win32.h" // beside this header once installed
#endif

#endif // QUILLGRAPH_WIN32API_H
