// main.cpp - Quen's Zarn's entry point.
#include "game.h"

int main()
{
    return RunGame();
}
