// Whole games of Quen's Zarn, each predicted from its seed alone. A model written from the
// game's rules places the fleet, plays a script of clicks and keys, and says what the game
// must draw, in order: every cell paint, picture, pause and status line, and what the screen
// shows at the end. The program itself (RunGame, as main() runs it) then plays the same
// script on the headless window; the stand-in's call log, reduced to those operations, must
// match line for line. Every picture file is a flat colour of its own, so the screen tells
// which picture was drawn.
#include "board.h"
#include "game.h"
#include "graphics.h"
#include "random.h"

#include "../images/jpeg_files.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace hooks = standin::test;

namespace {

constexpr int kCells = 20;
constexpr int kOffGrid[2] = {700, 300}; // on the logo
const char *const kFont = "font {20,0,0,0,700,0,0,0,1,0,0,0,0x0,Arial}";

// The pictures' colours, and the colour references of the game's four named colours.
uint32_t PictureColour(int n) { return uint32_t((40 + n * 3) & 0xFF) << 16 | uint32_t(250 - n * 2) << 8 | ((n * 37) % 200 + 30); }
std::string PictureName(int n) { return n == 100 ? "logo" : n == 101 ? "win" : "frame" + std::to_string(n); }
const std::map<uint32_t, std::string> kColourNames = {{0xFF0000, "blue"}, {0xFF, "red"}, {0, "black"}, {0xFFFFFF, "white"}};
const std::map<std::string, uint32_t> kScreenColours = {{"blue", 0x0000FF}, {"red", 0xFF0000}, {"black", 0}};

struct Input {
    std::string keys; // pressed while the game waits, before the click
    int x, y;
};

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
                free = free && Owner(c + !vertical * m, r + vertical * m) < 0;
            if (!free)
                continue;
            for (int m = 0; m < 4; ++m)
                owner_[c + !vertical * m][r + vertical * m] = k;
            ships_[k++] = {vertical, c, r};
        }
    }

    // Clicks: w water near the middle, b water near the top-left corner, s the next ship
    // cell not yet hit, a the last click again, o off the grid, e an edge of two cells, c a
    // corner of four, * ship cells until one is left. Keys, pressed during the wait before
    // the next click and read one a turn: V, R, X (nothing), ! (ESC).
    void Play(const std::string &script)
    {
        Emit("title Quen's Zarn");
        for (int c = 0; c < kCells; ++c)
            for (int r = 0; r < kCells; ++r)
                Paint(c, r);
        Picture(550, 60, 100);
        std::deque<char> keys;
        size_t at = script.find_first_not_of(' ');
        while (!over_) {
            const char key = keys.empty() ? 0 : keys.front();
            if (!keys.empty())
                keys.pop_front();
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
            const int shipCellsLeft = 4 * kFleetSize - hits_;
            const auto [x, y] = Target(target == '*' ? 's' : target);
            if (target != '*' || shipCellsLeft <= 2)
                at = script.find_first_not_of(' ', at + 1);
            Input input{"", x, y};
            for (; at < script.size() && std::string("VRX! ").find(script[at]) != std::string::npos; ++at)
                if (script[at] != ' ')
                    input.keys += script[at];
            keys.insert(keys.end(), input.keys.begin(), input.keys.end());
            inputs.push_back(input);
            last_ = {x, y};
            // Every cell whose square holds the point, edges included, in scan order.
            for (int c = 0; c < kCells; ++c)
                for (int r = 0; r < kCells; ++r) {
                    if (x < 20 * c + 5 || x > 20 * c + 25 || y < 20 * r + 5 || y > 20 * r + 25)
                        continue;
                    Fire(c, r);
                    if (armed_)
                        Volley(c, r);
                }
        }
        if (sunk_ >= kFleetSize)
            Picture(550, 60, 101);
    }

    // What the screen shows at the centre of cell [c][r] once the game is over.
    uint32_t CellColour(int c, int r) const
    {
        const int k = Owner(c, r);
        if (k >= 0 && ships_[k].sunk)
            return PictureColour(ships_[k].finalFrame);
        return kScreenColours.at(Fill(c, r));
    }
    bool Won() const { return sunk_ >= kFleetSize; }

    std::vector<std::string> events;
    std::vector<Input> inputs;
    int endings[2][7] = {}; // ending draws seen, by orientation

private:
    struct ShipModel {
        bool vertical = false;
        int c = 0, r = 0, hits = 0;
        bool sunk = false;
        int finalFrame = 0;
    };

    int Owner(int c, int r) const { return owner_[c][r]; }
    std::string Fill(int c, int r) const
    {
        return !fired_[c][r] ? "black" : Owner(c, r) >= 0 ? "red" : "blue";
    }
    void Emit(std::string event) { events.push_back(std::move(event)); }
    void Paint(int c, int r)
    {
        Emit("pen 1 blue");
        Emit("brush " + Fill(c, r));
        Emit("rect " + std::to_string(20 * c + 5) + " " + std::to_string(20 * r + 5) + " " +
             std::to_string(20 * c + 25) + " " + std::to_string(20 * r + 25));
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
        const auto nearest = [&](int c0, int r0) {
            std::pair<int, int> best{-1, -1};
            for (int c = 0, far = 99; c < kCells; ++c)
                for (int r = 0; r < kCells; ++r)
                    if (!fired_[c][r] && Owner(c, r) < 0 && std::max(std::abs(c - c0), std::abs(r - r0)) < far)
                        best = {c, r}, far = std::max(std::abs(c - c0), std::abs(r - r0));
            return best;
        };
        std::pair<int, int> cell;
        switch (target) {
        case 'w': cell = nearest(9, 9); break;
        case 'b': cell = nearest(0, 0); break;
        case 's':
            for (int k = kFleetSize - 1; k >= 0; --k) // the first ship in the fleet with a cell left
                for (int m = 3; m >= 0; --m)
                    if (const ShipModel &ship = ships_[k]; !fired_[ship.c + !ship.vertical * m][ship.r + ship.vertical * m])
                        cell = {ship.c + !ship.vertical * m, ship.r + ship.vertical * m};
            break;
        case 'a': return last_;
        case 'o': return {kOffGrid[0], kOffGrid[1]};
        case 'e': return {25, 15};
        case 'c': return {45, 45};
        default: ADD_FAILURE() << "no such click: " << target; return {0, 0};
        }
        return {20 * cell.first + 15, 20 * cell.second + 15};
    }

    void Fire(int c, int r)
    {
        if (c < 0 || c >= kCells || r < 0 || r >= kCells || fired_[c][r])
            return; // beyond the edge a shot falls into open sea
        fired_[c][r] = true;
        if (const int k = Owner(c, r); k >= 0) {
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
            const int dr = RandomInRange(-2, 2);
            Fire(c - dc, r - dr);
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
        Emit("pen 1 white");
        Emit("brush white");
        Emit("rect 0 540 1000 600");
        Emit(kFont);
        Emit("pen 1 black");
        const std::pair<int, std::string> items[] = {
            {9, "ESC - EXIT      R - REFRESH      V - VOLLEYS"}, {9, "MISSLE COUNT:"}, {160, std::to_string(missiles_)},
            {280, "SHIPS SUNK:"}, {410, std::to_string(sunk_)}, {510, "VOLLEYS LEFT:"}, {660, std::to_string(volleys_)},
            {670, "X"}, {680, std::to_string(2 * sunk_ + 18)}};
        for (const auto &[x, text] : items)
            Emit("text " + std::to_string(x) + (x == 9 && text[0] == 'E' ? " 500 " : " 550 ") + text);
    }

    void Refresh()
    {
        for (int c = 0; c < kCells; ++c)
            for (int r = 0; r < kCells; ++r)
                Paint(c, r);
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

// The call log reduced to what the game asks for; pictures named by the colour they left.
class Recorder {
public:
    void Flush(HWND hwnd)
    {
        std::vector<uint32_t> screen;
        int width = 0, height = 0;
        for (const std::string &line : hooks::StopCallLog()) {
            const std::string name = line.substr(0, line.find('('));
            std::vector<std::string> args;
            for (size_t at = name.size() + 1, end; at < line.size(); at = end + 1)
                args.push_back(line.substr(at, (end = std::min(line.find(',', at), line.size() - 1)) - at));
            const auto number = [&](size_t i) { return std::strtoul(args[i].c_str(), nullptr, 0); };
            if (name == "SetWindowTextA")
                events.push_back("title " + args[1]);
            else if (name == "CreatePen")
                events.push_back("pen " + args[1] + " " + ColourName(number(2)));
            else if (name == "CreateSolidBrush")
                events.push_back("brush " + ColourName(number(0)));
            else if (name == "Rectangle" || name == "RoundRect")
                events.push_back((name == "Rectangle" ? "rect" : "roundrect") + Join(args, 1, args.size()));
            else if (name == "CreateFontIndirectA")
                events.push_back("font " + line.substr(name.size() + 1, line.size() - name.size() - 2));
            else if (name == "TextOutA")
                events.push_back("text" + Join(args, 1, 3) + " " + Text(line));
            else if (name == "Sleep")
                events.push_back("pause " + std::to_string(number(0)));
            else if (name == "SetDIBitsToDevice" || name == "StretchDIBits") {
                if (screen.empty())
                    screen = hooks::ReadClientSurface(hwnd, &width, &height);
                const long x = std::strtol(args[1].c_str(), nullptr, 10), y = std::strtol(args[2].c_str(), nullptr, 10);
                const long cx = x + std::strtol(args[3].c_str(), nullptr, 10) / 2;
                const long cy = y + std::strtol(args[4].c_str(), nullptr, 10) / 2;
                std::string seen = "off-screen";
                if (cx >= 0 && cy >= 0 && cx < width && cy < height)
                    seen = PictureAt(screen[static_cast<size_t>(cy * width + cx)]);
                events.push_back((name == "StretchDIBits" ? "stretched " : "picture ") + args[1] + " " + args[2] + " " + seen);
            }
        }
        hooks::StartCallLog();
    }

    static std::string PictureAt(uint32_t rgb)
    {
        for (int n = 1; n <= 101; ++n)
            if (PictureColour(n) == rgb)
                return PictureName(n);
        char text[16];
        std::snprintf(text, sizeof text, "#%06X", rgb);
        return text;
    }

    std::vector<std::string> events;

private:
    static std::string ColourName(unsigned long ref)
    {
        const auto it = kColourNames.find(static_cast<uint32_t>(ref));
        return it != kColourNames.end() ? it->second : std::to_string(ref);
    }
    static std::string Join(const std::vector<std::string> &args, size_t from, size_t to)
    {
        std::string out;
        for (size_t i = from; i < to && i < args.size(); ++i)
            out += " " + args[i];
        return out;
    }
    // TextOutA(dc,x,y,text,length): the text may hold anything but is followed by its length.
    static std::string Text(const std::string &line)
    {
        size_t start = line.find('(');
        for (int i = 0; i < 3; ++i)
            start = line.find(',', start) + 1;
        return line.substr(start, line.rfind(',') - start);
    }
};

struct Row {
    const char *name;
    int64_t seed;
    const char *script;
};

class GameTest : public ::testing::TestWithParam<Row> {};

// Every picture the game reads, each a flat colour of its own, in a scratch folder that is
// the working folder while the object lives.
class PictureFolder {
public:
    PictureFolder()
    {
        for (int n = 1; n <= 101; ++n) {
            const bool sinking = n > 30 && n < 70 && n % 10 != 0;
            const int width = n >= 100 ? 400 : sinking && (n / 10) % 2 == 1 ? 80 : 20;
            const int height = n >= 100 ? 400 : sinking && (n / 10) % 2 == 0 ? 80 : 20;
            JpegRecipe recipe;
            recipe.width = width;
            recipe.height = height;
            const uint32_t c = PictureColour(n);
            for (int i = 0; i < width * height; ++i)
                recipe.samples.insert(recipe.samples.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
            folder_.Write(n >= 100 ? PictureName(n) + ".jpg" : "frame" + std::to_string(n) + ".jpg", EncodeJpeg(recipe));
        }
        EXPECT_EQ(getcwd(previous_, sizeof previous_), previous_);
        EXPECT_EQ(chdir(folder_.Path("").c_str()), 0);
    }
    ~PictureFolder() { EXPECT_EQ(chdir(previous_), 0); }

private:
    ScratchFolder folder_;
    char previous_[4096] = {};
};

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
    if (std::exchange(played, true)) {
        missilesFired = 0, shipsSunk = 0, volleysLeft = 7;
        volleyArmed = false, gameOver = false;
    }

    Recorder recorder;
    HWND hwnd = nullptr;
    size_t next = 0;
    int waitsAfterScript = 0;
    std::vector<uint32_t> atClose;
    const auto press = [&](int key) {
        hooks::InjectKey(hwnd, key, true);
        hooks::InjectKey(hwnd, key, false);
    };
    const auto click = [&](int x, int y) {
        hooks::InjectButton(hwnd, 0, true, x, y);
        hooks::InjectButton(hwnd, 0, false, x, y);
    };
    hooks::OnWindowCreated([&](HWND created) {
        hwnd = created;
        const hooks::WindowInfo info = hooks::GetWindowInfo(hwnd);
        EXPECT_EQ((std::vector{info.clientWidth, info.clientHeight}), (std::vector{1000, 600}));
        SeedRandomAt(row.seed);
        hooks::StartCallLog();
    });
    hooks::OnSleep([&](DWORD) { recorder.Flush(hwnd); });
    hooks::OnIdle([&] {
        recorder.Flush(hwnd);
        if (next < model.inputs.size()) {
            const Input &input = model.inputs[next++];
            for (char key : input.keys)
                press(key == '!' ? VK_ESCAPE : key);
            return click(input.x, input.y);
        }
        // The window's closing wait, unless the game still waits for a click: then ESC
        // ends it, and the difference shows in the log.
        if (++waitsAfterScript == 1) {
            int width = 0, height = 0;
            atClose = hooks::ReadClientSurface(hwnd, &width, &height);
        } else if (waitsAfterScript > 20) {
            std::fprintf(stderr, "%s: the game still waits for clicks after the script\n", row.name);
            std::abort();
        } else {
            press(VK_ESCAPE);
        }
        click(kOffGrid[0], kOffGrid[1]);
    });
    EXPECT_EQ(RunGame(), 0);
    recorder.Flush(hwnd);
    hooks::StopCallLog();
    hooks::OnIdle(nullptr);
    hooks::OnSleep(nullptr);
    hooks::OnWindowCreated(nullptr);
    hooks::UseVirtualClock(false);

    // The window's own start-up state comes before the title.
    std::vector<std::string> &seen = recorder.events;
    seen.erase(seen.begin(), std::find_if(seen.begin(), seen.end(), [](const std::string &e) { return e.rfind("title ", 0) == 0; }));
    const auto differ = std::mismatch(model.events.begin(), model.events.end(), seen.begin(), seen.end());
    if (differ.first != model.events.end() || differ.second != seen.end()) {
        const size_t at = static_cast<size_t>(differ.first - model.events.begin());
        std::string report;
        for (size_t i = at > 5 ? at - 5 : 0; i < at + 5; ++i)
            report += (i == at ? "> " : "  ") + (i < model.events.size() ? model.events[i] : "(end)") + "  |  " +
                      (i < seen.size() ? seen[i] : "(end)") + "\n";
        ADD_FAILURE() << row.name << " (seed " << row.seed << "): the game's drawing departs from its rules at step " << at
                      << " of " << model.events.size() << "; expected | drawn:\n" << report;
    }
    EXPECT_EQ(next, model.inputs.size()) << "clicks the game took";
    EXPECT_EQ(waitsAfterScript, 1) << "the window waits for one last click after the game";
    EXPECT_EQ(hooks::LiveObjectCount(), 0) << "every pen, brush, font, bitmap and DC given back";

    // The screen while the window asks for its closing click.
    ASSERT_EQ(atClose.size(), 1000u * 600u);
    for (int c = 0; c < kCells; ++c)
        for (int r = 0; r < kCells; ++r)
            EXPECT_EQ(Recorder::PictureAt(atClose[(20 * r + 15) * 1000 + 20 * c + 15]),
                      Recorder::PictureAt(model.CellColour(c, r))) << "cell " << c << "," << r;
    EXPECT_EQ(Recorder::PictureAt(atClose[260 * 1000 + 750]), model.Won() ? "win" : "logo");
    // The victory's seed draws every ending value, and each orientation ends all three ways.
    if (std::string(row.name) == "Victory") {
        for (int e = 0; e < 7; ++e)
            EXPECT_GT(model.endings[0][e] + model.endings[1][e], 0) << "ending " << e;
        for (const auto &seen : model.endings)
            EXPECT_TRUE(seen[0] + seen[1] + seen[2] && seen[3] + seen[4] && seen[5] + seen[6]);
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

} // namespace
