// play.cpp - start-up of the board, the turn loop with its volleys, the status line and
// the refresh of the whole board.
#include "board.h"

#include "graphics.h"
#include "random.h"

#include <string>

namespace {

constexpr int kLogoX = 550;
constexpr int kLogoY = 60;
constexpr int32_t kShipsToWin = 17;

void DrawPicture(window &win, const char *fileName)
{
    image picture(fileName, IMAGE_JPEG);
    win.DrawImage(picture, kLogoX, kLogoY, -1, -1);
}

// Blanks the bottom strip, then writes the legend and the three counters.
void DrawStatusLine(window &win)
{
    win.SetPen(WHITE, 1);
    win.SetBrush(WHITE);
    win.DrawRectangle(0, 540, 1000, 600, STYLE_FILLED, 0, 0);
    win.SetFont(20, FONT_BOLD, 0, "Arial");
    win.SetPen(BLACK, 1);
    win.DrawString(9, 500, "ESC - EXIT      R - REFRESH      V - VOLLEYS");
    win.DrawString(9, 550, "MISSLE COUNT:");
    win.DrawNumber(160, 550, missilesFired);
    win.DrawString(280, 550, "SHIPS SUNK:");
    win.DrawNumber(410, 550, shipsSunk);
    win.DrawString(510, 550, "VOLLEYS LEFT:");
    win.DrawNumber(660, 550, volleysLeft);
    win.DrawString(670, 550, "X");
    win.DrawNumber(680, 550, 2 * shipsSunk + 18);
}

// Waits for the next click, spinning on the poll as the library's own wait does (it pumps
// a message each time); false when there is no window to click in, never made or gone.
bool WaitForClick(window &win, int &x, int &y)
{
    return win.AwaitMouseClick(x, y) != CLICK_NONE;
}

bool OnGrid(int c, int r)
{
    return c >= 0 && c < kGridSize && r >= 0 && r < kGridSize;
}

} // namespace

void Board::Setup(window &win)
{
    win.SetTitle("Quen's Zarn");
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r) {
            InitCell(c, r);
            cells[c][r].Paint(win);
        }
    PlaceFleet();
    DrawPicture(win, "logo.jpg");
}

void Board::Play(window &win)
{
    win.DiscardMouseClicks();
    win.DiscardKeyPresses();

    while (!gameOver) {
        char ch = 0;
        if (win.PollKeyPress(ch) == KEY_ESCAPE)
            break;
        if (ch == 'R' || ch == 'r')
            Refresh(win);
        if ((ch == 'v' || ch == 'V') && volleysLeft > 0)
            volleyArmed = true;

        DrawStatusLine(win);

        int x = -1, y = -1;
        // Without a window the game ends, as it does when its window is closed.
        if (!WaitForClick(win, x, y))
            break;

        // Every cell is tested, inclusively: a click on a shared edge fires both cells.
        for (int c = 0; c < kGridSize; ++c)
            for (int r = 0; r < kGridSize; ++r) {
                Cell &cell = cells[c][r];
                if (cell.left > x || x > cell.right || cell.top > y || y > cell.bottom)
                    continue;
                cell.Fire(win);
                if (!volleyArmed)
                    continue;
                int shots = RandomInRange(2 * shipsSunk + 4, 2 * shipsSunk + 18);
                for (; shots > 0; --shots) {
                    const int dc = RandomInRange(-2, 2);
                    const int dr = RandomInRange(-2, 2);
                    // A shot beyond the grid's edge falls into open sea: it is spent
                    // and touches nothing.
                    if (OnGrid(c - dc, r - dr))
                        cells[c - dc][r - dr].Fire(win);
                }
                --volleysLeft;
                volleyArmed = false;
            }
    }

    if (shipsSunk >= kShipsToWin)
        DrawPicture(win, "win.jpg");
}

void Board::Refresh(window &win)
{
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            cells[c][r].Paint(win);

    image picture("logo.jpg", IMAGE_JPEG);
    win.DrawImage(picture, kLogoX, kLogoY, -1, -1);
    for (const Ship &ship : fleet) {
        if (!ship.sunk)
            continue;
        const int wreck = ship.vertical ? 60 : 50;
        int frame = wreck + 4;
        if (ship.finalFrame == wreck + 6 || ship.finalFrame == wreck + 5)
            frame = ship.finalFrame;
        const std::string name = "frame" + std::to_string(frame) + ".jpg";
        picture.Open(name.c_str(), IMAGE_JPEG);
        win.DrawImage(picture, ship.cells[0].left, ship.cells[0].top, -1, -1);
    }
}
