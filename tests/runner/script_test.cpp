// The script of inputs and the QUILLGRAPH_* settings as read: what each well-formed line
// becomes, and for each mistake the line it is reported on and what is said.
#include "user/backends/script.h"
#include "user/backends/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using standin::user::ParseScript;
using standin::user::ScriptStep;
using Kind = ScriptStep::Kind;

// A step in a few words, so that one table holds the cases.
std::string Describe(const ScriptStep &s)
{
    const std::string at = "@" + std::to_string(s.line);
    switch (s.kind) {
    case Kind::Click: return "click " + std::to_string(s.x) + " " + std::to_string(s.y) + (s.button ? " right" : "") + at;
    case Kind::Move: return "move " + std::to_string(s.x) + " " + std::to_string(s.y) + at;
    case Kind::Key: return "key " + std::to_string(s.virtualKey) + (s.shift ? " shift" : "") + at;
    case Kind::Pause: return "pause " + std::to_string(s.milliseconds) + at;
    case Kind::Screenshot: return "screenshot [" + s.path + "]" + at;
    case Kind::Close: return "close" + at;
    }
    return "?";
}

TEST(Script, EachCommandReadsAsWritten)
{
    const char *text = "# a comment\n"
                       "click 10 20\n"
                       "  click -3,4 right\r\n"
                       "click 5, 6 left\n"
                       "\n"
                       "move 2147483647 -2147483648\n"
                       "key a\n"
                       "key A\n"
                       "key ?\n"
                       "key #\n"
                       "key escape\n"
                       "key F12\n"
                       "key Numpad0\n"
                       "key PageDown\n"
                       "pause 0\n"
                       "pause 2147483647\n"
                       "screenshot  pictures/a b.png \n"
                       "close";
    const std::vector<std::string> expected = {
        "click 10 20@2",      "click -3 4 right@3", "click 5 6@4",         "move 2147483647 -2147483648@6",
        "key 65@7",           "key 65 shift@8",     "key 191 shift@9",     "key 51 shift@10",
        "key 27@11",          "key 123@12",         "key 96@13",           "key 34@14",
        "pause 0@15",         "pause 2147483647@16", "screenshot [pictures/a b.png]@17", "close@18"};
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(text, steps, error)) << error;
    std::vector<std::string> got;
    for (const ScriptStep &s : steps)
        got.push_back(Describe(s));
    EXPECT_EQ(got, expected);
}

TEST(Script, AMistakeIsReportedWithItsLineAndNothingRuns)
{
    const std::map<std::string, std::string> cases = {
        {"clik 1 2", "1: unknown command \"clik\" (click, move, key, pause, screenshot, close)"},
        {"click 1 2\n\nclick 1", "3: click takes X Y and then, if wanted, right"},
        {"click 1 2 middle", "1: click takes X Y and then, if wanted, right"},
        {"click 2147483648 0", "1: click takes X Y and then, if wanted, right"},
        {"click 1.5 2", "1: click takes X Y and then, if wanted, right"},
        {"move 1", "1: move takes X Y"},
        {"key", "1: key takes one key: a character or a name such as Escape"},
        {"key shift a", "1: key takes one key: a character or a name such as Escape"},
        {"key F13", "1: no key is called \"F13\""},
        {"key F0", "1: no key is called \"F0\""},
        {"key F01", "1: no key is called \"F01\""},
        {"key Numpad10", "1: no key is called \"Numpad10\""},
        {"key \xe9", "1: no key is called \"\xe9\""},
        {"pause -1", "1: pause takes a number of milliseconds"},
        {"pause 2147483648", "1: pause takes a number of milliseconds"},
        {"pause 1 2", "1: pause takes a number of milliseconds"},
        {"screenshot", "1: screenshot takes the name of a PNG file"},
        {"close now", "1: close takes nothing more"},
        {"click 1 2 # no comments after a command", "1: click takes X Y and then, if wanted, right"},
    };
    for (const auto &[text, message] : cases) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(ParseScript(text, steps, error)) << text;
        EXPECT_EQ(error, message) << text;
        EXPECT_TRUE(steps.empty()) << text;
    }
}

TEST(Settings, EachVariableTakesItsValuesAndNamesABadOne)
{
    using standin::user::Settings;
    struct Case {
        std::map<std::string, std::string> env;
        std::string error; // empty: accepted
        int scale = 0;
        bool headless = false, virtualClock = false;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{{"QUILLGRAPH_BACKEND", ""}, {"QUILLGRAPH_SCALE", ""}}, ""}, // empty is unset
        {{{"QUILLGRAPH_BACKEND", "headless"}, {"QUILLGRAPH_CLOCK", "virtual"}}, "", 0, true, true},
        {{{"QUILLGRAPH_BACKEND", "sdl2"}, {"QUILLGRAPH_CLOCK", "real"}, {"QUILLGRAPH_SCALE", "auto"}}, ""},
        {{{"QUILLGRAPH_SCALE", "1"}}, "", 1},
        {{{"QUILLGRAPH_SCALE", "8"}}, "", 8},
        {{{"QUILLGRAPH_SCALE", "0"}}, "QUILLGRAPH_SCALE is \"0\": it takes 1 to 8 or auto"},
        {{{"QUILLGRAPH_SCALE", "9"}}, "QUILLGRAPH_SCALE is \"9\": it takes 1 to 8 or auto"},
        {{{"QUILLGRAPH_SCALE", "2x"}}, "QUILLGRAPH_SCALE is \"2x\": it takes 1 to 8 or auto"},
        {{{"QUILLGRAPH_BACKEND", "x11"}}, "QUILLGRAPH_BACKEND is \"x11\": it takes sdl2 or headless"},
        {{{"QUILLGRAPH_CLOCK", "fast"}}, "QUILLGRAPH_CLOCK is \"fast\": it takes real or virtual"},
    };
    for (const Case &c : cases) {
        Settings s;
        std::string error;
        const bool ok = standin::user::ReadSettings(
            [&](const char *name) -> const char * {
                auto it = c.env.find(name);
                return it == c.env.end() ? nullptr : it->second.c_str();
            },
            s, error);
        EXPECT_EQ(ok, c.error.empty()) << c.error;
        EXPECT_EQ(ok ? "" : error, c.error);
        if (!ok)
            continue;
        EXPECT_EQ(s.scale, c.scale);
        EXPECT_EQ(s.backend == Settings::BackendChoice::Headless, c.headless);
        EXPECT_EQ(s.virtualClock, c.virtualClock);
    }
}

} // namespace
