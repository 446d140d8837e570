// fixture.h - a headless window with a procedure that records what it is sent, shared by
// the stand-in's tests.
#ifndef TESTS_STANDIN_FIXTURE_H
#define TESTS_STANDIN_FIXTURE_H

#include <standin/testhooks.h>
#include <standin/win32.h>

#include <gtest/gtest.h>

#include <vector>

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Every message the recording procedure got, oldest first.
std::vector<Seen> &SeenMessages();
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The library's way of making its window: a caption window sized from the drawing size.
HWND MakeWindow(int width = 200, int height = 100, int x = 5, int y = 5, const char *title = "Test");

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Dispatches one message with the library's pump: Peek with PM_REMOVE, Translate,
    // Dispatch. Returns false when nothing was there.
    bool PumpOne(HWND filter);
    // Messages of `kind` the procedure saw, in order.
    std::vector<::Seen> SeenOf(UINT kind) const;
};

#endif // TESTS_STANDIN_FIXTURE_H
