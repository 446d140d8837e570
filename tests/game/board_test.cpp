// The board's geometry and the fleet placement's invariants, over many seeds.
#include "board.h"
#include "random.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

constexpr int64_t kNewYear2026 = 1767225600;

std::unique_ptr<Board> SetUpBoard(int64_t seed)
{
    SeedRandomAt(seed);
    auto board = std::make_unique<Board>();
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            board->InitCell(c, r);
    board->PlaceFleet();
    return board;
}

TEST(Board, CellGeometryTilesTheGridFromFiveToFourHundredFive)
{
    Board board;
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            board.InitCell(c, r);
    const Cell &first = board.cells[0][0];
    EXPECT_EQ((std::array{first.left, first.top, first.right, first.bottom}), (std::array{5, 5, 25, 25}));
    const Cell &last = board.cells[19][19];
    EXPECT_EQ((std::array{last.left, last.top, last.right, last.bottom}), (std::array{385, 385, 405, 405}));
    const Cell &corner = board.cells[19][0]; // column 19, row 0: the top-right cell
    EXPECT_EQ((std::array{corner.left, corner.top, corner.right, corner.bottom}), (std::array{385, 5, 405, 25}));
    for (int c = 0; c + 1 < kGridSize; ++c)
        for (int r = 0; r + 1 < kGridSize; ++r) {
            EXPECT_EQ(board.cells[c][r].right, board.cells[c + 1][r].left);
            EXPECT_EQ(board.cells[c][r].bottom, board.cells[c][r + 1].top);
            EXPECT_EQ(board.cells[c][r].state, CELL_WATER);
            EXPECT_FALSE(board.cells[c][r].fired);
        }
}

TEST(Board, InitCellResetsStateButKeepsTheShipLink)
{
    Board board;
    Ship ship;
    Cell &cell = board.cells[3][4];
    cell.state = CELL_HIT;
    cell.fired = true;
    cell.ship = &ship;
    board.InitCell(3, 4);
    EXPECT_EQ(cell.state, CELL_WATER);
    EXPECT_FALSE(cell.fired);
    EXPECT_EQ(cell.ship, &ship);
}

TEST(Board, CopyCellCopiesEverythingButTheLink)
{
    Ship owner, other;
    Cell source{true, CELL_HIT, 1, 2, 3, 4, &owner};
    Cell destination;
    destination.ship = &other;
    CopyCell(source, destination);
    EXPECT_TRUE(destination.fired);
    EXPECT_EQ(destination.state, CELL_HIT);
    EXPECT_EQ((std::array{destination.left, destination.right, destination.top, destination.bottom}),
              (std::array{1, 2, 3, 4}));
    EXPECT_EQ(destination.ship, &other);
}

TEST(Board, GameWideValuesStartAsAFreshGame)
{
    EXPECT_EQ(missilesFired, 0);
    EXPECT_EQ(shipsSunk, 0);
    EXPECT_EQ(volleysLeft, 7);
    EXPECT_FALSE(volleyArmed);
    EXPECT_FALSE(gameOver);
}

// Everything placement promises, checked over a few thousand seeds.
TEST(Board, FleetPlacementInvariantsHoldForManySeeds)
{
    int touchingPairs = 0;
    int verticalShips = 0;
    constexpr int kSeeds = 2000;
    for (int64_t seed = kNewYear2026; seed < kNewYear2026 + kSeeds; ++seed) {
        const auto board = SetUpBoard(seed);
        SCOPED_TRACE(seed);

        int shipCells = 0;
        for (int c = 0; c < kGridSize; ++c)
            for (int r = 0; r < kGridSize; ++r) {
                const Cell &cell = board->cells[c][r];
                ASSERT_TRUE(cell.state == CELL_WATER || cell.state == CELL_SHIP);
                ASSERT_FALSE(cell.fired);
                if (cell.state != CELL_SHIP)
                    continue;
                ++shipCells;
                // The link names the ship whose copies hold this very rectangle.
                const Ship *ship = cell.ship;
                ASSERT_NE(ship, nullptr);
                ASSERT_GE(ship, &board->fleet[0]);
                ASSERT_LE(ship, &board->fleet[kFleetSize - 1]);
                bool found = false;
                for (const Cell &copy : ship->cells)
                    found = found || (copy.left == cell.left && copy.top == cell.top);
                ASSERT_TRUE(found);
            }
        ASSERT_EQ(shipCells, kFleetSize * kShipLength); // 68: so no two ships overlap

        std::set<std::pair<int, int>> occupied;
        for (const Ship &ship : board->fleet) {
            ASSERT_EQ(ship.hits, 0);
            ASSERT_FALSE(ship.sunk);
            const int c0 = (ship.cells[0].left - 5) / 20;
            const int r0 = (ship.cells[0].top - 5) / 20;
            // A vertical ship's column and a horizontal ship's row come from 0..16 too.
            ASSERT_LE(c0, 16);
            ASSERT_LE(r0, 16);
            verticalShips += ship.vertical;
            for (int m = 0; m < kShipLength; ++m) {
                const Cell &copy = ship.cells[m];
                const int c = c0 + (ship.vertical ? 0 : m);
                const int r = r0 + (ship.vertical ? m : 0);
                ASSERT_EQ(copy.left, 20 * c + 5);
                ASSERT_EQ(copy.top, 20 * r + 5);
                ASSERT_EQ(copy.right, copy.left + 20);
                ASSERT_EQ(copy.bottom, copy.top + 20);
                ASSERT_EQ(copy.state, CELL_SHIP);
                ASSERT_FALSE(copy.fired);
                ASSERT_EQ(copy.ship, nullptr);
                ASSERT_EQ(board->cells[c][r].ship, &ship);
                occupied.insert({c, r});
            }
        }
        ASSERT_EQ(occupied.size(), 68u);
        for (const auto &[c, r] : occupied)
            for (const auto &[dc, dr] : {std::pair{1, 0}, std::pair{0, 1}})
                if (occupied.count({c + dc, r + dr}) && board->cells[c][r].ship != board->cells[c + dc][r + dr].ship)
                    ++touchingPairs;
    }
    // Ships may touch: only overlap is refused.
    EXPECT_GT(touchingPairs, 0);
    // Three orientation values in five mean vertical; about 60 % of ships that fit.
    const double share = static_cast<double>(verticalShips) / (kSeeds * kFleetSize);
    EXPECT_GT(share, 0.5);
    EXPECT_LT(share, 0.7);
}

TEST(Board, SameSecondGivesTheSameFleetAndTheSameDrawsAfterwards)
{
    const auto a = SetUpBoard(kNewYear2026);
    const int32_t nextA = RandomInRange(0, 1000);
    const auto b = SetUpBoard(kNewYear2026);
    const int32_t nextB = RandomInRange(0, 1000);
    for (int k = 0; k < kFleetSize; ++k) {
        EXPECT_EQ(a->fleet[k].vertical, b->fleet[k].vertical);
        EXPECT_EQ(a->fleet[k].cells[0].left, b->fleet[k].cells[0].left);
        EXPECT_EQ(a->fleet[k].cells[0].top, b->fleet[k].cells[0].top);
    }
    EXPECT_EQ(nextA, nextB);
}

// The placement draws (0,4), (0,16), (0,16) per attempt, in that order, until 17 fit.
// Replaying that protocol on the raw stream must predict every ship.
TEST(Board, PlacementFollowsTheDrawProtocol)
{
    SeedRandomAt(kNewYear2026 + 99);
    bool taken[kGridSize][kGridSize] = {};
    struct Expected {
        bool vertical;
        int c, r;
    } expected[kFleetSize];
    for (int k = 0; k < kFleetSize;) {
        const bool vertical = RandomInRange(0, 4) < 3;
        const int c = RandomInRange(0, 16), r = RandomInRange(0, 16);
        bool free = true;
        for (int m = 0; m < 4; ++m)
            free = free && !taken[vertical ? c : c + m][vertical ? r + m : r];
        if (!free)
            continue;
        for (int m = 0; m < 4; ++m)
            taken[vertical ? c : c + m][vertical ? r + m : r] = true;
        expected[k++] = {vertical, c, r};
    }
    const auto board = SetUpBoard(kNewYear2026 + 99);
    for (int k = 0; k < kFleetSize; ++k) {
        EXPECT_EQ(board->fleet[k].vertical, expected[k].vertical) << k;
        EXPECT_EQ(board->fleet[k].cells[0].left, 20 * expected[k].c + 5) << k;
        EXPECT_EQ(board->fleet[k].cells[0].top, 20 * expected[k].r + 5) << k;
    }
}

} // namespace
