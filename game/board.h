// board.h - the game's data model: the 20 x 20 grid of cells, the fleet of 17 ships
// and the game-wide counters, with cell initialisation and fleet placement.
#ifndef ZARN_BOARD_H
#define ZARN_BOARD_H

#include <cstdint>

class window;

constexpr int kGridSize = 20;  // cells per column and per row
constexpr int kFleetSize = 17; // ships in the fleet
constexpr int kShipLength = 4; // cells per ship

enum CellState : int32_t {
    CELL_MISS = 0,  // water that has been fired at
    CELL_WATER = 1, // water not yet fired at; every cell starts here
    CELL_SHIP = 2,  // part of a ship, not yet hit
    CELL_HIT = 3,   // part of a ship that has been hit
};

struct Ship;

// One grid square. The rectangle is kept as the two x values, then the two y values.
struct Cell {
    bool fired = false;
    CellState state = CELL_WATER;
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    Ship *ship = nullptr; // owner, set only for cells that receive a ship

    // Resolves a missile on this cell: state, animation, repaint, counters, victory.
    void Fire(window &win);
    // Draws the square in the colours of its state; ships look like water.
    void Paint(window &win);
    void PlayHitAnimation(window &win);
    void PlayMissAnimation(window &win);
};

struct Ship {
    bool vertical = false;
    int32_t hits = 0;
    bool sunk = false;
    Cell cells[kShipLength]; // copies at placement, top-to-bottom or left-to-right
    int32_t finalFrame = 0;  // last sinking picture drawn, once sunk

    // Burns and sinks the ship over its four cells; records the wreck left on screen.
    void PlaySinkAnimation(window &win);
};

using Fleet = Ship[kFleetSize];

struct Board {
    Cell cells[kGridSize][kGridSize]; // [column][row]
    Fleet fleet;                      // in placement order

    // Gives cell [c][r] its rectangle, makes it unfired water; the ship link stays.
    void InitCell(int c, int r);
    // Places the 17 ships at random without overlap; draws nothing.
    void PlaceFleet();

    // Titles the window, paints the grid, hides the fleet in it and shows the logo.
    void Setup(window &win);
    // The turn loop, until ESC or victory; then the victory picture if the game was won.
    void Play(window &win);
    // Repaints every cell, the logo and each sunk ship's wreck.
    void Refresh(window &win);
};

// Copies state, rectangle and fired flag; the ship link is not copied.
void CopyCell(const Cell &source, Cell &destination);

// Game-wide state.
extern int32_t missilesFired; // missiles counted for the status line
extern int32_t shipsSunk;     // 0 to 17
extern int32_t volleysLeft;   // volleys the player may still arm
extern bool volleyArmed;      // the next click on a cell fires a volley
extern bool gameOver;         // the 17th ship has sunk

#endif // ZARN_BOARD_H
