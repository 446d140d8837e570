// game.h - Quen's Zarn as one callable routine, so that main() stays a one-liner and
// tests can run whole games.
#ifndef ZARN_GAME_H
#define ZARN_GAME_H

// Seeds from the clock, opens the window, sets up the board, plays, closes. Returns the
// process's exit status.
int RunGame();

#endif // ZARN_GAME_H
