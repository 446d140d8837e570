// game.cpp - the game's main routine: seed, window, board, play, close.
#include "game.h"

#include "board.h"
#include "graphics.h"
#include "random.h"

int RunGame()
{
    SeedRandom();
    window win(1000, 600, 5, 5);
    Board board;
    board.Setup(win);
    board.Play(win);
    return 0; // the window's destructor waits for the closing click
}
