// Whole games on the headless window: made-up clicks and keys go in, the board's state,
// the counters and the window's pixels come out. Pauses run on the stand-in's own clock,
// and every picture file is a flat colour of its own, so the screen tells which picture
// was drawn last where.
#include "board.h"
#include "game.h"
#include "graphics.h"
#include "random.h"

#include "../images/jpeg_files.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace hooks = standin::test;

struct WindowInspector {
    static HWND Handle(window &w) { return w.hwndWindow; }
};

namespace {

constexpr int64_t kSeed = 1767225600; // 2026-01-01 00:00:00 UTC

// A colour of its own for every picture file.
color PictureColour(int number)
{
    return color(static_cast<unsigned char>(40 + number * 3), static_cast<unsigned char>(250 - number * 2),
                 static_cast<unsigned char>((number * 37) % 200 + 30));
}

Bytes FlatJpeg(int width, int height, const color &c)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    for (int i = 0; i < width * height; ++i)
        recipe.samples.insert(recipe.samples.end(), {c.ucRed, c.ucGreen, c.ucBlue});
    return EncodeJpeg(recipe);
}

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

uint32_t Rgb(const color &c)
{
    return (uint32_t{c.ucRed} << 16) | (uint32_t{c.ucGreen} << 8) | c.ucBlue;
}

// Every picture the game reads, each a flat colour of its own, in a scratch folder that
// is the working folder while the object lives.
class PictureFolder {
public:
    PictureFolder()
    {
        for (int n : {1, 2, 3, 4, 5, 6, 7, 21, 22, 23, 24, 25})
            folder_.Write("frame" + std::to_string(n) + ".jpg", FlatJpeg(20, 20, PictureColour(n)));
        for (int base : {30, 50}) // horizontal ships
            for (int n = base + 1; n <= base + 9; ++n)
                folder_.Write("frame" + std::to_string(n) + ".jpg", FlatJpeg(80, 20, PictureColour(n)));
        for (int base : {40, 60}) // vertical ships
            for (int n = base + 1; n <= base + 9; ++n)
                folder_.Write("frame" + std::to_string(n) + ".jpg", FlatJpeg(20, 80, PictureColour(n)));
        folder_.Write("logo.jpg", FlatJpeg(400, 400, PictureColour(100)));
        folder_.Write("win.jpg", FlatJpeg(400, 400, PictureColour(101)));
        EXPECT_EQ(getcwd(previous_, sizeof previous_), previous_);
        EXPECT_EQ(chdir(folder_.Path("").c_str()), 0);
    }
    ~PictureFolder() { EXPECT_EQ(chdir(previous_), 0); }
    std::string Path(const std::string &name) const { return folder_.Path(name); }

private:
    ScratchFolder folder_;
    char previous_[4096] = {};
};

void ResetCounters()
{
    missilesFired = 0;
    shipsSunk = 0;
    volleysLeft = 7;
    volleyArmed = false;
    gameOver = false;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::UseVirtualClock(true);
        hooks::DrainMessages();
        pictures_ = std::make_unique<PictureFolder>();
        ResetCounters();
        SeedRandomAt(kSeed);
        win_ = std::make_unique<window>(1000, 600, 5, 5);
        win_->SetCloseWaitsForClick(false);
        hwnd_ = WindowInspector::Handle(*win_);
        board_ = std::make_unique<Board>();
        board_->Setup(*win_);
        // Play's two discards each pump one message: give them two that queue nothing
        // (Insert gives no record; mouse moves would merge into one).
        hooks::InjectKey(hwnd_, VK_INSERT, true);
        hooks::InjectKey(hwnd_, VK_INSERT, false);
    }

    void TearDown() override
    {
        win_.reset();
        pictures_.reset();
        hooks::OnSleep(nullptr);
        hooks::UseVirtualClock(false);
    }

    // Plays until the keys run out. Keys go in before the clicks, so all of them are queued
    // during the first turn: the first turn reads none, turn k + 1 reads keys[k - 1], and
    // each turn takes one click. A game of n clicks therefore ends with its n-th key ESC.
    void PlayGame(const std::vector<int> &keys, const std::vector<std::pair<int, int>> &clicks)
    {
        // The first turn's key read pumps this one: ESC would otherwise be read at once,
        // since its record comes from the key-down message itself.
        hooks::InjectKey(hwnd_, VK_INSERT, true);
        hooks::InjectKey(hwnd_, VK_INSERT, false);
        for (int key : keys) {
            hooks::InjectKey(hwnd_, key, true);
            hooks::InjectKey(hwnd_, key, false);
        }
        for (auto [x, y] : clicks) {
            hooks::InjectButton(hwnd_, 0, true, x, y);
            hooks::InjectButton(hwnd_, 0, false, x, y);
        }
        board_->Play(*win_);
    }
    static std::pair<int, int> Centre(int c, int r) { return {20 * c + 15, 20 * r + 15}; }
    // n - 1 keys that do nothing, then ESC: ends a game of n clicks.
    static std::vector<int> EndAfter(int clicks)
    {
        std::vector<int> keys(static_cast<size_t>(clicks - 1), 'X');
        keys.push_back(VK_ESCAPE);
        return keys;
    }

    uint32_t PixelAt(int x, int y)
    {
        int width = 0, height = 0;
        const auto pixels = hooks::ReadClientSurface(hwnd_, &width, &height);
        return pixels.at(static_cast<size_t>(y) * width + x);
    }
    uint32_t CellCentre(int c, int r) { return PixelAt(20 * c + 15, 20 * r + 15); }

    std::vector<std::pair<int, int>> ShipCells() const
    {
        std::vector<std::pair<int, int>> cells;
        for (const Ship &ship : board_->fleet)
            for (const Cell &copy : ship.cells)
                cells.push_back({(copy.left - 5) / 20, (copy.top - 5) / 20});
        return cells;
    }
    // Unfired water cells more than two cells (a volley's reach) from `avoid` and from
    // each other.
    std::vector<std::pair<int, int>> FarWaterCells(size_t count, std::vector<std::pair<int, int>> avoid) const
    {
        std::vector<std::pair<int, int>> picked;
        for (int c = 0; c < kGridSize && picked.size() < count; ++c)
            for (int r = 0; r < kGridSize && picked.size() < count; ++r) {
                if (board_->cells[c][r].state != CELL_WATER)
                    continue;
                const bool far = std::all_of(avoid.begin(), avoid.end(), [&](std::pair<int, int> a) {
                    return std::max(std::abs(a.first - c), std::abs(a.second - r)) > 2;
                });
                if (far) {
                    picked.push_back({c, r});
                    avoid.push_back({c, r});
                }
            }
        return picked;
    }
    std::pair<int, int> SomeWaterCell() const
    {
        for (int c = 0; c < kGridSize; ++c)
            for (int r = 0; r < kGridSize; ++r)
                if (board_->cells[c][r].state == CELL_WATER)
                    return {c, r};
        return {-1, -1};
    }

    std::unique_ptr<PictureFolder> pictures_;
    std::unique_ptr<window> win_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<Board> board_;
};

TEST_F(GameTest, SetupTitlesTheWindowPaintsTheHiddenGridAndShowsTheLogo)
{
    EXPECT_EQ(hooks::GetWindowInfo(hwnd_).title, "Quen's Zarn");
    for (auto [c, r] : ShipCells())
        EXPECT_EQ(CellCentre(c, r), Rgb(BLACK)) << "ships look like water";
    const auto [wc, wr] = SomeWaterCell();
    EXPECT_EQ(CellCentre(wc, wr), Rgb(BLACK));
    EXPECT_EQ(PixelAt(5, 5), Rgb(BLUE)); // every cell has a blue outline
    EXPECT_EQ(PixelAt(404, 404), Rgb(BLUE));
    EXPECT_EQ(PixelAt(405, 405), Rgb(WHITE)); // the grid stops at 405
    EXPECT_EQ(PixelAt(550, 60), Rgb(PictureColour(100)));
    EXPECT_EQ(PixelAt(949, 459), Rgb(PictureColour(100)));
}

TEST_F(GameTest, AMissTurnsBlueAHitRedAndOnlyFreshShotsCount)
{
    const auto [wc, wr] = SomeWaterCell();
    const auto [sc, sr] = ShipCells().front();
    hooks::StartCallLog();
    // The third click is on a cell fired at already: nothing at all happens.
    PlayGame(EndAfter(3), {Centre(wc, wr), Centre(sc, sr), Centre(sc, sr)});
    const auto log = hooks::StopCallLog();

    EXPECT_EQ(CellCentre(wc, wr), Rgb(BLUE));
    EXPECT_EQ(CellCentre(sc, sr), Rgb(RED));
    EXPECT_EQ(PixelAt(20 * sc + 5, 20 * sr + 5), Rgb(BLUE));
    EXPECT_EQ(board_->cells[wc][wr].state, CELL_MISS);
    EXPECT_EQ(board_->cells[sc][sr].state, CELL_HIT);
    EXPECT_EQ(board_->cells[sc][sr].ship->hits, 1);
    EXPECT_EQ(missilesFired, 2);
    // Five miss pictures with 80 ms after each, seven hit pictures with 150 ms.
    EXPECT_EQ(std::count(log.begin(), log.end(), "Sleep(0x50)"), 5);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Sleep(0x96)"), 7);
}

TEST_F(GameTest, ClicksOffTheGridFireNothingAndSharedEdgesFireBothCells)
{
    // On the logo; on the edge between columns 0 and 1 of row 0; on the corner of columns
    // 1-2 and rows 1-2.
    PlayGame(EndAfter(3), {{700, 300}, {25, 15}, {45, 45}});
    int fired = 0;
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            fired += board_->cells[c][r].fired;
    EXPECT_EQ(fired, 2 + 4);
    for (auto [c, r] : {std::pair{0, 0}, {1, 0}, {1, 1}, {2, 1}, {1, 2}, {2, 2}})
        EXPECT_TRUE(board_->cells[c][r].fired) << c << "," << r;
    EXPECT_EQ(missilesFired, 6);
}

TEST_F(GameTest, StatusLineShowsTheCountsAfterEveryTurn)
{
    // The first turn draws 0 missiles, 0 sunk, 7 volleys "X" 18 before waiting.
    hooks::StartCallLog();
    const auto [wc, wr] = SomeWaterCell();
    PlayGame(EndAfter(1), {Centre(wc, wr)});
    const auto log = hooks::StopCallLog();
    std::vector<std::string> texts;
    for (const std::string &line : log)
        if (line.rfind("TextOutA(", 0) == 0)
            texts.push_back(line);
    ASSERT_GE(texts.size(), 9u);
    const auto has = [&](const std::string &fragment) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string &t) { return t.find(fragment) != std::string::npos; });
    };
    EXPECT_TRUE(has("ESC - EXIT      R - REFRESH      V - VOLLEYS"));
    EXPECT_TRUE(has("MISSLE COUNT:"));
    EXPECT_TRUE(has("SHIPS SUNK:"));
    EXPECT_TRUE(has("VOLLEYS LEFT:"));
    // The ESC turn leaves at once: exactly one status line was drawn.
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const std::string &t) { return t.find("MISSLE COUNT:") != std::string::npos; }), 1);
    EXPECT_EQ(PixelAt(5, 580), Rgb(WHITE)); // the strip was blanked white
}

TEST_F(GameTest, AVolleyFiresExtraShotsThatCountNoMissiles)
{
    // A lone shot far away first; V is read at the second turn, whose click fires the
    // volley; ESC ends the third.
    const auto [wc, wr] = SomeWaterCell();
    const std::pair<int, int> far = Centre(wc < 10 ? 19 : 0, wr < 10 ? 19 : 0);
    PlayGame({'V', VK_ESCAPE}, {far, Centre(wc, wr)});
    const int farC = (far.first - 5) / 20, farR = (far.second - 5) / 20;
    EXPECT_TRUE(board_->cells[farC][farR].fired);
    int fired = 0;
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            if (board_->cells[c][r].fired && (c != farC || r != farR)) {
                ++fired;
                EXPECT_LE(std::abs(c - wc), 2);
                EXPECT_LE(std::abs(r - wr), 2);
            }
    EXPECT_GE(fired, 1);
    EXPECT_EQ(missilesFired, 1); // the lone shot only
    EXPECT_EQ(volleysLeft, 6);
    EXPECT_FALSE(volleyArmed);
}

TEST_F(GameTest, KeysPressedDuringAnAnimationAreHandledOnePerTurn)
{
    const auto [sc, sr] = ShipCells().front();
    const auto far = FarWaterCells(4, {{sc, sr}});
    ASSERT_EQ(far.size(), 4u);
    const auto [w1, w2, w3, marked] = std::tuple{far[0], far[1], far[2], far[3]};
    // A mark that only a refresh paints over.
    win_->SetPen(GREEN, 1);
    win_->SetBrush(GREEN);
    win_->DrawRectangle(20 * marked.first + 10, 20 * marked.second + 10, 20 * marked.first + 20,
                        20 * marked.second + 20, STYLE_FILLED, 0, 0);

    // R, V and ESC are pressed while the first hit burns, then three clicks follow. The
    // animation's own drawing takes their messages in, and the keys come out one per
    // turn: R at the second (then W1 is fired), V at the third (a volley at W2), ESC at
    // the fourth, which leaves W3's click unread.
    bool pressed = false;
    hooks::OnSleep([&](DWORD) {
        if (std::exchange(pressed, true))
            return;
        for (int key : {int{'R'}, int{'V'}, VK_ESCAPE}) {
            hooks::InjectKey(hwnd_, key, true);
            hooks::InjectKey(hwnd_, key, false);
        }
        for (auto [c, r] : {w1, w2, w3}) {
            hooks::InjectButton(hwnd_, 0, true, Centre(c, r).first, Centre(c, r).second);
            hooks::InjectButton(hwnd_, 0, false, Centre(c, r).first, Centre(c, r).second);
        }
    });
    PlayGame({}, {Centre(sc, sr)});

    ASSERT_TRUE(pressed);
    EXPECT_EQ(board_->cells[sc][sr].state, CELL_HIT);
    EXPECT_EQ(CellCentre(marked.first, marked.second), Rgb(BLACK)) << "R refreshed the board";
    EXPECT_EQ(missilesFired, 2); // the hit and W1: a volley's shots count no missiles
    EXPECT_EQ(volleysLeft, 6);
    EXPECT_FALSE(volleyArmed);
    // W1 was a single shot; the volley's shots all fell around W2.
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r) {
            const std::pair<int, int> cell{c, r};
            if (!board_->cells[c][r].fired || cell == std::pair{sc, sr} || cell == w1)
                continue;
            EXPECT_LE(std::max(std::abs(c - w2.first), std::abs(r - w2.second)), 2) << c << "," << r;
        }
    EXPECT_TRUE(board_->cells[w1.first][w1.second].fired);
    EXPECT_TRUE(board_->cells[w2.first][w2.second].fired);
    EXPECT_FALSE(board_->cells[w3.first][w3.second].fired);
}

TEST_F(GameTest, SinkingEveryShipWinsAndEachWreckSurvivesARefresh)
{
    std::vector<std::pair<int, int>> clicks;
    for (auto [c, r] : ShipCells())
        clicks.push_back(Centre(c, r));
    // R is read at the second turn: a refresh with one hit and nothing sunk yet.
    PlayGame({'R'}, clicks);

    EXPECT_TRUE(gameOver);
    EXPECT_EQ(shipsSunk, 17);
    EXPECT_EQ(missilesFired, 68);
    EXPECT_EQ(PixelAt(550, 60), Rgb(PictureColour(101))) << "the victory picture covers the logo";
    for (const Ship &ship : board_->fleet) {
        ASSERT_TRUE(ship.sunk);
        const int wreck = ship.vertical ? 60 : 50;
        EXPECT_TRUE(ship.finalFrame >= wreck + 4 && ship.finalFrame <= wreck + 6) << ship.finalFrame;
    }
    board_->Refresh(*win_);
    for (const Ship &ship : board_->fleet)
        EXPECT_EQ(PixelAt(ship.cells[0].left + 10, ship.cells[0].top + 10), Rgb(PictureColour(ship.finalFrame)))
            << "the wreck drawn again after the refresh";
    EXPECT_EQ(PixelAt(550, 60), Rgb(PictureColour(100))) << "the refresh draws the logo";
}


// The whole program, as main() runs it: the player clicks each time the game waits, and
// the last click comes only once the closing prompt is on the console.
TEST(WholeGameTest, AWonGameShowsTheVictoryPromptsAndEndsOnTheClosingClick)
{
    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    hooks::DrainMessages();
    PictureFolder pictures;

    // The fleet the game will hide: the window hook below gives it this seed.
    SeedRandomAt(kSeed);
    Board probe;
    for (int c = 0; c < kGridSize; ++c)
        for (int r = 0; r < kGridSize; ++r)
            probe.InitCell(c, r);
    probe.PlaceFleet();
    std::vector<std::pair<int, int>> clicks;
    for (const Ship &ship : probe.fleet)
        for (const Cell &cell : ship.cells)
            clicks.push_back({cell.left + 10, cell.top + 10});
    ResetCounters();

    HWND hwnd = nullptr;
    hooks::OnWindowCreated([&](HWND created) {
        hwnd = created;
        SeedRandomAt(kSeed);
    });
    const std::string console = pictures.Path("console.txt");
    std::fflush(stdout);
    const int savedStdout = dup(1);
    const int file = open(console.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    ASSERT_GE(file, 0);
    dup2(file, 1);
    close(file);
    const auto restoreStdout = [&] {
        std::fflush(stdout);
        dup2(savedStdout, 1);
    };

    const std::string prompt = "Click mouse in the graphics window to finish execution.\n";
    size_t clicked = 0;
    bool closingClick = false;
    int idleWithNothingToDo = 0;
    std::vector<uint32_t> atPrompt;
    hooks::OnIdle([&] {
        auto click = [&](std::pair<int, int> at) {
            hooks::InjectButton(hwnd, 0, true, at.first, at.second);
            hooks::InjectButton(hwnd, 0, false, at.first, at.second);
        };
        if (clicked < clicks.size())
            return click(clicks[clicked++]);
        std::fflush(stdout);
        if (!closingClick && ReadText(console) == prompt) {
            int width = 0, height = 0;
            atPrompt = hooks::ReadClientSurface(hwnd, &width, &height);
            closingClick = true;
            return click({700, 300});
        }
        if (++idleWithNothingToDo > 10000) { // about ten seconds of waiting for nothing
            restoreStdout();
            std::fprintf(stderr, "the game waits for input after %zu clicks\n", clicked);
            std::abort();
        }
    });
    const int status = RunGame();
    restoreStdout();
    close(savedStdout);
    hooks::OnIdle(nullptr);
    hooks::OnWindowCreated(nullptr);
    hooks::UseVirtualClock(false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(clicked, clicks.size());
    EXPECT_TRUE(closingClick);
    EXPECT_EQ(ReadText(console), prompt);
    EXPECT_EQ(hooks::LiveWindowCount(), 0);
    EXPECT_EQ(hooks::LiveObjectCount(), 0) << "every pen, brush, font, bitmap and DC given back";
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(shipsSunk, 17);
    EXPECT_EQ(missilesFired, 68);
    // What the player saw while asked for the last click: the victory picture and, over
    // every ship, one of its three wrecks.
    ASSERT_EQ(atPrompt.size(), 1000u * 600u);
    const auto pixel = [&](int x, int y) { return atPrompt[static_cast<size_t>(y) * 1000 + x]; };
    EXPECT_EQ(pixel(550, 60), Rgb(PictureColour(101)));
    EXPECT_EQ(pixel(949, 459), Rgb(PictureColour(101)));
    for (const Ship &ship : probe.fleet) {
        const int wreck = ship.vertical ? 60 : 50;
        const uint32_t seen = pixel(ship.cells[0].left + 10, ship.cells[0].top + 10);
        EXPECT_TRUE(seen == Rgb(PictureColour(wreck + 4)) || seen == Rgb(PictureColour(wreck + 5)) ||
                    seen == Rgb(PictureColour(wreck + 6)))
            << std::hex << seen;
    }
}

// A window that cannot be made: the drawing fails with its error lines, but the wait for
// a click gives up, and the game ends with the status a closed window gives, no prompt.
TEST(WholeGameTest, WithoutAWindowTheGameEndsInsteadOfWaiting)
{
    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    hooks::DrainMessages();
    PictureFolder pictures;
    ResetCounters();
    hooks::FailNextCall("CreateWindowExA");
    int idle = 0;
    hooks::OnIdle([&] {
        if (++idle > 2000) { // a second or two of polling a window that is not there
            std::fprintf(stderr, "the game waits for a click without a window\n");
            std::abort();
        }
    });
    ::testing::internal::CaptureStdout();
    const int status = RunGame();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    hooks::OnIdle(nullptr);
    hooks::ClearFailures();
    hooks::UseVirtualClock(false);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed.find("Click mouse"), std::string::npos);
    EXPECT_NE(printed.find("Fatal Error: "), std::string::npos);
    EXPECT_EQ(hooks::LiveWindowCount(), 0);
    EXPECT_EQ(hooks::LiveObjectCount(), 0);
}

} // namespace

namespace {

// Nothing catches a missing picture: the game ends, and says which error ended it.
TEST(GameDeathTest, AMissingPictureEndsTheGameNamingTheError)
{
    // Forked where it stands, so the scratch folder is the parent's alone to remove.
    GTEST_FLAG_SET(death_test_style, "fast");
    ScratchFolder empty;
    char previous[4096] = {};
    ASSERT_EQ(getcwd(previous, sizeof previous), previous);
    ASSERT_EQ(chdir(empty.Path("").c_str()), 0);
    // A thread of its own stands in for main(): with no handler above it, the error goes
    // to terminate() without unwinding, so the window's closing wait never runs.
    EXPECT_DEATH(std::thread([] {
                     hooks::UseHeadlessBackend();
                     hooks::UseVirtualClock(true);
                     RunGame();
                 }).join(),
                 "ended by an uncaught error: ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(chdir(previous), 0);
}

} // namespace
