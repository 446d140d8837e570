// paced_program - a program for the runner's test: an animation that never waits for
// input (a frame, a key poll, a pause, over and over, each frame's number in the red of
// its picture) until Escape; then a second window that waits for a key, says which key
// and how long the wait took on the program's clock, and waits for a click.
#include "graphics.h"

#include <cstdio>

int main()
{
    {
        window frames(100, 50, 0, 0);
        frames.SetCloseWaitsForClick(false);
        for (int frame = 0;; ++frame) {
            char key;
            if (frames.PollKeyPress(key) == KEY_ESCAPE)
                break;
            frames.SetPen(BLACK, 1);
            frames.SetBrush(static_cast<unsigned char>(frame), 0, 0);
            frames.DrawRectangle(0, 0, 100, 50, STYLE_FILLED);
            Delay(100);
        }
        std::printf("frames done\n");
    }
    window second(60, 40, 0, 0);
    const unsigned before = ElapsedMillis();
    char key = 0;
    second.AwaitKeyPress(key);
    std::printf("key %c after %u ms\n", key, ElapsedMillis() - before);
    second.SetBrush(GREEN);
    second.DrawRectangle(0, 0, 60, 40, STYLE_FILLED);
    int x, y;
    second.AwaitMouseClick(x, y);
    std::printf("not reached: nobody clicks\n");
    return 0;
}
