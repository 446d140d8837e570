// board.cpp - cell geometry, fleet placement and the game-wide counters.
#include "board.h"

#include "random.h"

int32_t missilesFired = 0;
int32_t shipsSunk = 0;
int32_t volleysLeft = 7;
bool volleyArmed = false;
bool gameOver = false;

namespace {

constexpr int kCellSize = 20;
constexpr int kGridOrigin = 5; // the grid's top-left corner in the window

// The cell that is the m-th of a ship starting at [c][r].
Cell &ShipCell(Board &board, bool vertical, int c, int r, int m)
{
    return vertical ? board.cells[c][r + m] : board.cells[c + m][r];
}

} // namespace

void Board::InitCell(int c, int r)
{
    Cell &cell = cells[c][r];
    cell.left = kCellSize * c + kGridOrigin;
    cell.right = kCellSize * c + kGridOrigin + kCellSize;
    cell.top = kCellSize * r + kGridOrigin;
    cell.bottom = kCellSize * r + kGridOrigin + kCellSize;
    cell.state = CELL_WATER;
    cell.fired = false;
}

void Board::PlaceFleet()
{
    int k = 0;
    while (k < kFleetSize) {
        Ship &ship = fleet[k];
        ship.hits = 0;
        ship.sunk = false;

        // The draws come in this order on every attempt: the sequence is the contract.
        const bool vertical = RandomInRange(0, 4) <= 2;
        const int c = RandomInRange(0, kGridSize - kShipLength);
        const int r = RandomInRange(0, kGridSize - kShipLength);

        bool overlaps = false;
        for (int m = 0; m < kShipLength; ++m)
            overlaps = overlaps || ShipCell(*this, vertical, c, r, m).state == CELL_SHIP;
        if (overlaps)
            continue;

        for (int m = 0; m < kShipLength; ++m) {
            Cell &cell = ShipCell(*this, vertical, c, r, m);
            cell.state = CELL_SHIP;
            CopyCell(cell, ship.cells[m]);
            cell.ship = &ship;
        }
        ship.vertical = vertical;
        ++k;
    }
}

void CopyCell(const Cell &source, Cell &destination)
{
    destination.state = source.state;
    destination.left = source.left;
    destination.top = source.top;
    destination.right = source.right;
    destination.bottom = source.bottom;
    destination.fired = source.fired;
}
