// animation.cpp - the picture sequences of a hit, a miss and a sinking ship.
// Every picture is decoded when it is shown; one image serves a whole sequence.
#include "board.h"

#include "graphics.h"
#include "random.h"

#include <string>

namespace {

constexpr unsigned kHitPause = 150;
constexpr unsigned kMissPause = 80;
constexpr unsigned kSinkPause = 80;

std::string FrameName(int number)
{
    return "frame" + std::to_string(number) + ".jpg";
}

// Draws the numbered pictures in order at (x, y), each followed by the pause.
void PlaySequence(window &win, int x, int y, const int *frames, int count, unsigned pause)
{
    image picture(FrameName(frames[0]).c_str(), IMAGE_JPEG);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            picture.Open(FrameName(frames[i]).c_str(), IMAGE_JPEG);
        win.DrawImage(picture, x, y, -1, -1);
        Delay(pause);
    }
}

} // namespace

void Cell::PlayHitAnimation(window &win)
{
    static constexpr int kFrames[] = {1, 2, 3, 4, 5, 6, 7};
    PlaySequence(win, left, top, kFrames, 7, kHitPause);
}

void Cell::PlayMissAnimation(window &win)
{
    static constexpr int kFrames[] = {21, 22, 23, 24, 25};
    PlaySequence(win, left, top, kFrames, 5, kMissPause);
}

void Ship::PlaySinkAnimation(window &win)
{
    // Frames 31-39 burn a horizontal ship, 41-49 a vertical one; the seventh comes back
    // once more before the hull breaks (51-55 / 61-65).
    const int base = vertical ? 40 : 30;
    const int wreck = vertical ? 60 : 50;
    int frames[15];
    for (int i = 0; i < 9; ++i)
        frames[i] = base + 1 + i;
    frames[9] = base + 7;
    for (int i = 0; i < 5; ++i)
        frames[10 + i] = wreck + 1 + i;
    PlaySequence(win, cells[0].left, cells[0].top, frames, 15, kSinkPause);

    // Three endings: a capsized hull (…6), the broken hull as it is (…5), or debris (…4).
    const int ending = RandomInRange(0, 6);
    if (ending <= 2)
        finalFrame = wreck + 6;
    else if (ending <= 4)
        finalFrame = wreck + 5;
    else
        finalFrame = wreck + 4;
    if (finalFrame != wreck + 5) {
        image picture(FrameName(finalFrame).c_str(), IMAGE_JPEG);
        win.DrawImage(picture, cells[0].left, cells[0].top, -1, -1);
        Delay(kSinkPause);
    }
}
