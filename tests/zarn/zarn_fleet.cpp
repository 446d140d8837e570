// zarn_fleet.cpp - prints the fleet the game places when it is seeded at a given second,
// with the game's own placement code: one line of 20 characters a row, '#' for a ship
// cell and '.' for water, after a line with the second.
//   zarn_fleet SECONDS...
#include "board.h"
#include "random.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zarn_fleet SECONDS...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const long long seconds = std::atoll(argv[i]);
        SeedRandomAt(seconds);
        static Board board;
        board = Board{};
        for (int c = 0; c < kGridSize; ++c)
            for (int r = 0; r < kGridSize; ++r)
                board.InitCell(c, r);
        board.PlaceFleet();
        std::printf("seed %lld\n", seconds);
        for (int r = 0; r < kGridSize; ++r) {
            for (int c = 0; c < kGridSize; ++c)
                std::putchar(board.cells[c][r].state == CELL_SHIP ? '#' : '.');
            std::putchar('\n');
        }
    }
    return 0;
}
