// zarn_fleet.cpp - prints the fleet the game places when it is seeded at a given second,
// with the game's own placement code: one line of 20 characters a row, '#' for a ship
// cell and '.' for water, after a line with the second.
//   zarn_fleet [--ships] SECONDS...
// --ships adds, after each grid, one line "ship COLUMN ROW h|v" a ship in placement order
// and "draws" with the next 17 values of RandomInRange(0, 6): the draws that pick each
// sinking ship's last picture, in the order the ships sink, when no volley is fired.
#include "board.h"
#include "random.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    int first = 1;
    const bool ships = argc > 1 && std::strcmp(argv[1], "--ships") == 0;
    if (ships)
        ++first;
    if (argc <= first) {
        std::fprintf(stderr, "usage: zarn_fleet [--ships] SECONDS...\n");
        return 2;
    }
    for (int i = first; i < argc; ++i) {
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
        if (!ships)
            continue;
        for (const Ship &ship : board.fleet)
            std::printf("ship %d %d %c\n", (ship.cells[0].left - 5) / 20, (ship.cells[0].top - 5) / 20,
                        ship.vertical ? 'v' : 'h');
        std::printf("draws");
        for (int k = 0; k < kFleetSize; ++k)
            std::printf(" %d", RandomInRange(0, 6));
        std::printf("\n");
    }
    return 0;
}
