// runner.h - runs a program for someone who is not at its window: plays the script of
// inputs (QUILLGRAPH_SCRIPT) whenever the program waits for input, saves its windows as
// PNG pictures (the script's screenshots, QUILLGRAPH_SCREENSHOT when a window goes or the
// program ends), and on the headless backend closes the window once input has run out.
// Inactive, at the cost of one test per call, unless a QUILLGRAPH_* variable asks for it.
#ifndef STANDIN_USER_BACKENDS_RUNNER_H
#define STANDIN_USER_BACKENDS_RUNNER_H

#include <standin/win32.h>

#include <cstdint>

namespace standin::user {

// Reads the settings and the script when the backend is chosen; a script that cannot be
// read or has a bad line ends the program there (status 2), naming the line.
void StartRunner(bool headless);

// What the message queue and the kernel tell it.
void RunnerProgramWaits();              // PeekMessageA is about to wait for input
void RunnerProgramTimes();              // Sleep or timeGetTime was called
void RunnerWindowCreated(HWND hwnd);
void RunnerWindowClosing(HWND hwnd);    // DestroyWindow, before the window hears of it

} // namespace standin::user

#endif // STANDIN_USER_BACKENDS_RUNNER_H
