// Whole games of Quen's Zarn, each predicted from its seed alone. A model written from the
// game's rules places the fleet, plays a script of clicks and keys, and says what the game
// must draw, in order: every cell paint, picture, pause and status line, and what the screen
// shows at the end. The program itself (RunGame, as main() runs it) then plays the same
// script on the headless window; the stand-in's call log, reduced to those operations, must
// match line for line. Every picture file is a flat colour of its own, so the screen tells
// which picture was drawn.
#include "board.h"
#include "game.h"
#include "random.h"

#include "files.h"
#include "jpeg.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace hooks = standin::test;

namespace {

constexpr int kCells = 20;
constexpr int kOffGridX = 700, kOffGridY = 300; // on the logo

// Pictures 1 to 99 are the frames, 100 the logo and 101 the victory picture.
uint32_t PictureColour(int n) { return uint32_t((40 + n * 3) & 0xFF) << 16 | uint32_t(250 - n * 2) << 8 | ((n * 37) % 200 + 30); }
std::string PictureName(int n) { return n == 100 ? "logo" : n == 101 ? "win" : "frame" + std::to_string(n); }
// Screen colours (0xRRGGBB) by name; the colour references of the call log are 0xBBGGRR.
const std::map<std::string, uint32_t> kColours = {{"blue", 0x0000FF}, {"red", 0xFF0000}, {"black", 0}, {"white", 0xFFFFFF}};

std::string Seen(uint32_t rgb)
{
    for (int n = 1; n <= 101; ++n)
        if (PictureColour(n) == rgb)
            return PictureName(n);
    for (const auto &[name, colour] : kColours)
        if (colour == rgb)
            return name;
    return "#" + std::to_string(rgb);
}

std::string Reference(unsigned long ref) { return Seen(uint32_t((ref & 0xFF) << 16 | (ref & 0xFF00) | (ref >> 16 & 0xFF))); }

// The game as its rules tell it.
class Model {
public:
    explicit Model(int64_t seed)
    {
        std::fill(&owner_[0][0], &owner_[0][0] + kCells * kCells, -1);
        SeedRandomAt(seed);
        // Per attempt: orientation (0-2 vertical), column, row; an overlap draws again.
        for (int k = 0; k < kFleetSize;) {
            const bool vertical = RandomInRange(0, 4) < 3;
            const int c = RandomInRange(0, 16), r = RandomInRange(0, 16);
            bool free = true;
            for (int m = 0; m < 4; ++m)
                free = free && owner_[c + !vertical * m][r + vertical * m] < 0;
            if (!free)
                continue;
            for (int m = 0; m < 4; ++m)
                owner_[c + !vertical * m][r + vertical * m] = k;
            ships_[k++] = {vertical, c, r};
        }
    }

    // Clicks: w water near the middle, b water near the top-left corner, s the first ship
    // cell not yet hit, a the last click again, o off the grid, e an edge of two cells, c a
    // corner of four, * ship cells until one is left. A key before a click is read in the
    // turn of that click: V, R, ! (ESC).
    void Play(std::string script)
    {
        script.erase(std::remove(script.begin(), script.end(), ' '), script.end());
        Emit("title Quen's Zarn");
        PaintAll();
        Picture(550, 60, 100);
        for (size_t at = 0; !over_;) {
            const char key = keys.empty() ? 0 : keys.back();
            if (key == '!')
                break;
            if (key == 'R')
                Refresh();
            if (key == 'V' && volleys_ > 0)
                armed_ = true;
            Status();
            if (at >= script.size()) {
                ADD_FAILURE() << "the script ends while the game waits for a click";
                break;
            }
            const char target = script[at];
            at += target != '*' || hits_ >= 4 * kFleetSize - 2;
            const auto [x, y] = last_ = Target(target == '*' ? 's' : target);
            clicks.push_back(last_);
            keys += at < script.size() && std::string("VR!").find(script[at]) != std::string::npos ? script[at++] : 'X';
            // Every cell whose square holds the point, edges included, in scan order.
            for (int c = 0; c < kCells; ++c)
                for (int r = 0; r < kCells; ++r)
                    if (x >= 20 * c + 5 && x <= 20 * c + 25 && y >= 20 * r + 5 && y <= 20 * r + 25) {
                        Fire(c, r);
                        if (armed_)
                            Volley(c, r);
                    }
        }
        if (sunk_ >= kFleetSize)
            Picture(550, 60, 101);
    }

    // What the screen shows in cell [c][r] once the game is over.
    std::string Shows(int c, int r) const
    {
        const int k = owner_[c][r];
        return k >= 0 && ships_[k].sunk ? PictureName(ships_[k].finalFrame) : Fill(c, r);
    }

    std::vector<std::string> events;
    std::vector<std::pair<int, int>> clicks;
    std::string keys; // one a turn from the second on; X does nothing
    int endings[2][7] = {}; // ending draws seen, by orientation
    bool won() const { return sunk_ >= kFleetSize; }

private:
    struct ShipModel {
        bool vertical = false;
        int c = 0, r = 0, hits = 0;
        bool sunk = false;
        int finalFrame = 0;
    };

    std::string Fill(int c, int r) const { return !fired_[c][r] ? "black" : owner_[c][r] >= 0 ? "red" : "blue"; }
    void Emit(std::string event) { events.push_back(std::move(event)); }
    void Paint(int c, int r)
    {
        Emit("pen 1 blue");
        Emit("brush " + Fill(c, r));
        Emit("rect " + std::to_string(20 * c + 5) + " " + std::to_string(20 * r + 5) + " " +
             std::to_string(20 * c + 25) + " " + std::to_string(20 * r + 25));
    }
    void PaintAll()
    {
        for (int c = 0; c < kCells; ++c)
            for (int r = 0; r < kCells; ++r)
                Paint(c, r);
    }
    void Picture(int x, int y, int n) { Emit("picture " + std::to_string(x) + " " + std::to_string(y) + " " + PictureName(n)); }
    void Sequence(int x, int y, std::vector<int> pictures, int pause)
    {
        for (int n : pictures) {
            Picture(x, y, n);
            Emit("pause " + std::to_string(pause));
        }
    }

    std::pair<int, int> Target(char target)
    {
        std::pair<int, int> cell{-1, -1};
        const auto nearestWater = [&](int c0, int r0) {
            for (int c = 0, far = kCells; c < kCells; ++c)
                for (int r = 0; r < kCells; ++r)
                    if (!fired_[c][r] && owner_[c][r] < 0 && std::max(std::abs(c - c0), std::abs(r - r0)) < far)
                        cell = {c, r}, far = std::max(std::abs(c - c0), std::abs(r - r0));
        };
        switch (target) {
        case 'w': nearestWater(9, 9); break;
        case 'b': nearestWater(0, 0); break;
        case 's':
            for (int k = kFleetSize - 1; k >= 0; --k)
                for (int m = 3; m >= 0; --m)
                    if (const ShipModel &s = ships_[k]; !fired_[s.c + !s.vertical * m][s.r + s.vertical * m])
                        cell = {s.c + !s.vertical * m, s.r + s.vertical * m};
            break;
        case 'a': return last_;
        case 'o': return {kOffGridX, kOffGridY};
        case 'e': return {25, 15};
        case 'c': return {45, 45};
        default: ADD_FAILURE() << "no such click: " << target;
        }
        return {20 * cell.first + 15, 20 * cell.second + 15};
    }

    void Fire(int c, int r)
    {
        if (c < 0 || c >= kCells || r < 0 || r >= kCells || fired_[c][r])
            return; // beyond the edge a shot falls into open sea
        fired_[c][r] = true;
        if (const int k = owner_[c][r]; k >= 0) {
            Sequence(20 * c + 5, 20 * r + 5, {1, 2, 3, 4, 5, 6, 7}, 150);
            ++hits_;
            Paint(c, r);
            if (++ships_[k].hits == 4) {
                ++sunk_;
                Sink(ships_[k]);
            }
        } else {
            Sequence(20 * c + 5, 20 * r + 5, {21, 22, 23, 24, 25}, 80);
            Paint(c, r);
        }
        missiles_ += !armed_;
        over_ = over_ || sunk_ >= kFleetSize;
    }

    void Volley(int c, int r)
    {
        for (int n = RandomInRange(2 * sunk_ + 4, 2 * sunk_ + 18); n > 0; --n) {
            const int dc = RandomInRange(-2, 2);
            Fire(c - dc, r - RandomInRange(-2, 2));
        }
        --volleys_;
        armed_ = false;
    }

    void Sink(ShipModel &ship)
    {
        ship.sunk = true;
        const int burn = ship.vertical ? 40 : 30, wreck = burn + 20;
        const int x = 20 * ship.c + 5, y = 20 * ship.r + 5;
        Sequence(x, y, {burn + 1, burn + 2, burn + 3, burn + 4, burn + 5, burn + 6, burn + 7, burn + 8, burn + 9,
                        burn + 7, wreck + 1, wreck + 2, wreck + 3, wreck + 4, wreck + 5}, 80);
        // What each ending draw leaves: the capsized hull, the broken hull as it is, debris.
        static constexpr int kLeft[7] = {6, 6, 6, 5, 5, 4, 4};
        const int ending = RandomInRange(0, 6);
        ++endings[ship.vertical][ending];
        ship.finalFrame = wreck + kLeft[ending];
        if (ship.finalFrame != wreck + 5)
            Sequence(x, y, {ship.finalFrame}, 80);
    }

    void Status()
    {
        for (const char *event : {"pen 1 white", "brush white", "rect 0 540 1000 600",
                                  "font {20,0,0,0,700,0,0,0,1,0,0,0,0x0,Arial}", "pen 1 black",
                                  "text 9 500 ESC - EXIT      R - REFRESH      V - VOLLEYS"})
            Emit(event);
        const std::pair<int, std::string> items[] = {
            {9, "MISSLE COUNT:"}, {160, std::to_string(missiles_)}, {280, "SHIPS SUNK:"}, {410, std::to_string(sunk_)},
            {510, "VOLLEYS LEFT:"}, {660, std::to_string(volleys_)}, {670, "X"}, {680, std::to_string(2 * sunk_ + 18)}};
        for (const auto &[x, text] : items)
            Emit("text " + std::to_string(x) + " 550 " + text);
    }

    void Refresh()
    {
        PaintAll();
        Picture(550, 60, 100);
        for (const ShipModel &ship : ships_)
            if (ship.sunk)
                Picture(20 * ship.c + 5, 20 * ship.r + 5, ship.finalFrame);
    }

    int owner_[kCells][kCells];
    bool fired_[kCells][kCells] = {};
    ShipModel ships_[kFleetSize];
    int hits_ = 0, missiles_ = 0, sunk_ = 0, volleys_ = 7;
    bool armed_ = false, over_ = false;
    std::pair<int, int> last_;
};

// The call log so far, reduced to what the game asks for; each picture named by what the
// screen shows in its middle.
void Record(HWND hwnd, std::vector<std::string> &events)
{
    std::vector<uint32_t> screen;
    int width = 0, height = 0;
    for (const std::string &line : hooks::StopCallLog()) {
        const std::string name = line.substr(0, line.find('('));
        std::vector<std::string> a; // the arguments
        for (size_t at = name.size() + 1, end; at < line.size(); at = end + 1)
            a.push_back(line.substr(at, (end = std::min(line.find(',', at), line.size() - 1)) - at));
        const auto number = [&](size_t i) { return std::strtol(a[i].c_str(), nullptr, 0); };
        if (name == "SetWindowTextA")
            events.push_back("title " + a[1]);
        else if (name == "CreatePen")
            events.push_back("pen " + a[1] + " " + Reference(number(2)));
        else if (name == "CreateSolidBrush")
            events.push_back("brush " + Reference(number(0)));
        else if (name == "Rectangle" || name == "RoundRect")
            events.push_back((name == "Rectangle" ? "rect " : "roundrect ") + a[1] + " " + a[2] + " " + a[3] + " " + a[4]);
        else if (name == "CreateFontIndirectA")
            events.push_back("font " + line.substr(name.size() + 1, line.size() - name.size() - 2));
        else if (name == "TextOutA") { // the text, which may hold commas, lies between y and the length
            const size_t text = name.size() + a[0].size() + a[1].size() + a[2].size() + 4;
            events.push_back("text " + a[1] + " " + a[2] + " " + line.substr(text, line.rfind(',') - text));
        }
        else if (name == "Sleep")
            events.push_back("pause " + std::to_string(number(0)));
        else if (name == "SetDIBitsToDevice" || name == "StretchDIBits") {
            if (screen.empty())
                screen = hooks::ReadClientSurface(hwnd, &width, &height);
            const long x = number(1) + number(3) / 2, y = number(2) + number(4) / 2;
            const bool on = x >= 0 && y >= 0 && x < width && y < height;
            events.push_back((name == "StretchDIBits" ? "stretched " : "picture ") + a[1] + " " + a[2] + " " +
                             (on ? Seen(screen[y * width + x]) : "off-screen"));
        }
    }
    hooks::StartCallLog();
}

// Every picture the game reads, each a flat colour of its own, in a scratch folder that is
// the working folder while the object lives.
class PictureFolder {
public:
    PictureFolder()
    {
        for (int n = 1; n <= 101; ++n) {
            const bool sinking = n > 30 && n < 70;
            const int width = n >= 100 ? 400 : sinking && n / 10 % 2 ? 80 : 20;
            const int height = n >= 100 ? 400 : sinking && n / 10 % 2 == 0 ? 80 : 20;
            JpegRecipe recipe = FlatBlocks(Layout::Rgb, {});
            recipe.width = width;
            recipe.height = height;
            for (int i = 0; i < width * height; ++i)
                for (int shift : {16, 8, 0})
                    recipe.samples.push_back(static_cast<unsigned char>(PictureColour(n) >> shift));
            folder_.Write(PictureName(n) + ".jpg", EncodeJpeg(recipe));
        }
        EXPECT_EQ(getcwd(previous_, sizeof previous_), previous_);
        EXPECT_EQ(chdir(folder_.Path("").c_str()), 0);
    }
    ~PictureFolder() { EXPECT_EQ(chdir(previous_), 0); }

private:
    ScratchFolder folder_;
    char previous_[4096] = {};
};

struct Row {
    const char *name;
    int64_t seed;
    const char *script;
};

class GameTest : public ::testing::TestWithParam<Row> {};

TEST_P(GameTest, PlaysAsItsRulesSay)
{
    const Row &row = GetParam();
    Model model(row.seed);
    model.Play(row.script);

    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    hooks::DrainMessages();
    PictureFolder pictures;
    // Under ctest every row runs in a process of its own, so the game's counters are as the
    // program starts them; a later game in the same process starts them afresh.
    static bool played = false;
    if (std::exchange(played, true))
        missilesFired = 0, shipsSunk = 0, volleysLeft = 7, volleyArmed = false, gameOver = false;

    std::vector<std::string> seen;
    HWND hwnd = nullptr;
    int waits = 0;
    std::vector<uint32_t> atClose;
    hooks::OnWindowCreated([&](HWND created) {
        hwnd = created;
        const hooks::WindowInfo info = hooks::GetWindowInfo(hwnd);
        EXPECT_EQ((std::vector{info.clientWidth, info.clientHeight}), (std::vector{1000, 600}));
        SeedRandomAt(row.seed);
        hooks::StartCallLog();
    });
    hooks::OnSleep([&](DWORD) { Record(hwnd, seen); });
    // At the first wait for a click every key goes in, then every click: the wait takes all
    // the keys in, and each later turn reads one. The second wait is the window's closing one.
    hooks::OnIdle([&] {
        Record(hwnd, seen);
        auto clicks = model.clicks;
        if (++waits == 2) {
            int width = 0, height = 0;
            atClose = hooks::ReadClientSurface(hwnd, &width, &height);
            clicks = {{kOffGridX, kOffGridY}};
        } else if (waits > 2) {
            std::fprintf(stderr, "%s: the game still waits for clicks after the script\n", row.name);
            std::abort();
        }
        for (char key : waits == 1 ? model.keys : "") {
            hooks::InjectKey(hwnd, key == '!' ? VK_ESCAPE : key, true);
            hooks::InjectKey(hwnd, key == '!' ? VK_ESCAPE : key, false);
        }
        for (const auto &[x, y] : clicks) {
            hooks::InjectButton(hwnd, 0, true, x, y);
            hooks::InjectButton(hwnd, 0, false, x, y);
        }
    });
    EXPECT_EQ(RunGame(), 0);
    Record(hwnd, seen);
    hooks::StopCallLog();
    hooks::OnIdle(nullptr);
    hooks::OnSleep(nullptr);
    hooks::OnWindowCreated(nullptr);
    hooks::UseVirtualClock(false);

    // The window's own start-up state comes before the title.
    seen.erase(seen.begin(), std::find_if(seen.begin(), seen.end(), [](const std::string &e) { return e.rfind("title", 0) == 0; }));
    const size_t at = std::mismatch(model.events.begin(), model.events.end(), seen.begin(), seen.end()).first - model.events.begin();
    if (at < std::max(model.events.size(), seen.size())) {
        std::string report;
        for (size_t i = at > 5 ? at - 5 : 0; i < at + 5; ++i)
            report += (i == at ? "> " : "  ") + (i < model.events.size() ? model.events[i] : "(end)") + "  |  " +
                      (i < seen.size() ? seen[i] : "(end)") + "\n";
        ADD_FAILURE() << row.name << " (seed " << row.seed << "): the game departs from its rules at step " << at
                      << " of " << model.events.size() << "; expected | drawn:\n" << report;
    }
    EXPECT_EQ(waits, 2) << "the game's wait, then the window's for one last click";
    EXPECT_EQ(hooks::LiveObjectCount(), 0) << "every pen, brush, font, bitmap and DC given back";

    // The screen while the window asks for its closing click.
    ASSERT_EQ(atClose.size(), 1000u * 600u);
    for (int c = 0; c < kCells; ++c)
        for (int r = 0; r < kCells; ++r)
            EXPECT_EQ(Seen(atClose[(20 * r + 15) * 1000 + 20 * c + 15]), model.Shows(c, r)) << "cell " << c << "," << r;
    EXPECT_EQ(Seen(atClose[260 * 1000 + 750]), model.won() ? "win" : "logo");
    // The victory's seed draws every ending value, and each orientation ends all three ways.
    if (std::string(row.name) == "Victory") {
        for (int e = 0; e < 7; ++e)
            EXPECT_GT(model.endings[0][e] + model.endings[1][e], 0) << "ending " << e;
        for (const auto &by : model.endings)
            EXPECT_TRUE(by[0] + by[1] + by[2] && by[3] + by[4] && by[5] + by[6]);
    }
}

constexpr int64_t kNewYear2026 = 1767225600;

INSTANTIATE_TEST_SUITE_P(
    Scripts, GameTest,
    ::testing::Values(
        // A miss, a hit, the same cell again, off the grid, an edge, a corner, a refresh
        // with nothing sunk; ESC ends it after one more click, with no victory picture.
        Row{"Shots", kNewYear2026, "w s a o e c R w !"},
        // Volleys: with none sunk and around a cell already fired; armed across a click off
        // the grid and V pressed again; near the corner; after a sinking; V with none left.
        Row{"Volleys", kNewYear2026 + 1, "w V w V a V o V b s s s s V w V w V w V w V w !"},
        // Every ship sunk, a refresh over the wrecks, and the last ship sunk by a volley's own
        // click, whose extra shots still run; no status line follows.
        Row{"Victory", kNewYear2026 + 2, "s s s s V b * R o V s"}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

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

// A window that cannot be made: the drawing fails with its error lines, but the wait for
// a click gives up, and the game ends with the status a closed window gives, no prompt.
TEST(GameWithoutWindowTest, EndsInsteadOfWaiting)
{
    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    hooks::DrainMessages();
    PictureFolder pictures;
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
