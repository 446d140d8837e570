// main.cpp - Quen's Zarn's entry point.
#include <cstdio>

int main()
{
    // The window and the turn loop are not built yet; say so rather than pretend to play.
    std::puts("Quen's Zarn is not playable yet: the board and fleet exist, the window does not.");
    return 0;
}
