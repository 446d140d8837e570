// shots.cpp - resolving one missile on one cell, and painting a cell.
#include "board.h"

#include "graphics.h"

namespace {

constexpr int32_t kShipsToWin = 17;

const color &FillFor(CellState state)
{
    switch (state) {
    case CELL_MISS:
        return BLUE;
    case CELL_HIT:
        return RED;
    case CELL_WATER:
    case CELL_SHIP:
        break;
    }
    return BLACK; // water and hidden ships look the same
}

} // namespace

void Cell::Fire(window &win)
{
    if (fired)
        return;

    if (state == CELL_SHIP) {
        state = CELL_HIT;
        PlayHitAnimation(win);
        ++ship->hits;
        Paint(win);
        if (ship->hits >= kShipLength) {
            ++shipsSunk;
            ship->sunk = true;
            // After the repaint, so that the wreck stays on screen over the ship.
            ship->PlaySinkAnimation(win);
        }
    } else if (state == CELL_WATER) {
        state = CELL_MISS;
        PlayMissAnimation(win);
        Paint(win);
    }

    fired = true;
    if (!volleyArmed)
        ++missilesFired;
    if (shipsSunk >= kShipsToWin)
        gameOver = true;
}

void Cell::Paint(window &win)
{
    win.SetPen(BLUE, 1);
    win.SetBrush(FillFor(state));
    win.DrawRectangle(left, top, right, bottom, STYLE_FILLED, 0, 0);
}
