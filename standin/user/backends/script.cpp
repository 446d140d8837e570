// Reading a script of inputs: each line checked before anything runs, so a mistake on
// line 40 is reported before the program has been driven half way.
#include "user/backends/script.h"

#include "user/keyboard.h"

#include <standin/win32.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <sstream>
#include <strings.h>

namespace standin::user {

namespace {

struct NamedKey {
    const char *name;
    int virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", VK_ESCAPE}, {"Esc", VK_ESCAPE},     {"Enter", VK_RETURN},     {"Return", VK_RETURN},
    {"Space", VK_SPACE},   {"Tab", VK_TAB},        {"Backspace", VK_BACK},   {"Left", VK_LEFT},
    {"Right", VK_RIGHT},   {"Up", VK_UP},          {"Down", VK_DOWN},        {"Home", VK_HOME},
    {"End", VK_END},       {"PageUp", VK_PRIOR},   {"PageDown", VK_NEXT},    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE}, {"Shift", VK_SHIFT},    {"Control", VK_CONTROL},  {"Alt", VK_MENU},
};

// The key (and Shift) that types `c` on the US layout TranslateMessage uses.
bool KeyForCharacter(unsigned char c, int &virtualKey, bool &shift)
{
    for (int s = 0; s < 2; ++s)
        for (int vk = 1; vk < 256; ++vk) {
            if (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE)
                continue; // the main keyboard's keys, not the keypad's
            Modifiers mods;
            mods.shift = s == 1;
            if (CharacterForKey(vk, mods) == c) {
                virtualKey = vk;
                shift = mods.shift;
                return true;
            }
        }
    return false;
}

bool KeyForName(const std::string &name, int &virtualKey, bool &shift)
{
    shift = false;
    if (name.size() == 1 && name[0] > ' ' && name[0] < 0x7F)
        return KeyForCharacter(static_cast<unsigned char>(name[0]), virtualKey, shift);
    for (const NamedKey &k : kNamedKeys)
        if (strcasecmp(name.c_str(), k.name) == 0)
            return virtualKey = k.virtualKey, true;
    // F1..F12 and Numpad0..Numpad9.
    auto numbered = [&](const char *prefix, int first, int count) {
        const size_t n = std::char_traits<char>::length(prefix);
        if (name.size() <= n || strncasecmp(name.c_str(), prefix, n) != 0)
            return false;
        const std::string digits = name.substr(n);
        if (digits.size() > 2 || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
            (digits.size() == 2 && (digits[0] == '0' || !std::isdigit(static_cast<unsigned char>(digits[1])))))
            return false;
        const int number = std::atoi(digits.c_str());
        const int index = first == VK_F1 ? number - 1 : number;
        if (index < 0 || index >= count)
            return false;
        virtualKey = first + index;
        return true;
    };
    return numbered("F", VK_F1, 12) || numbered("Numpad", VK_NUMPAD0, 10);
}

bool ParseInt(const std::string &word, long long lo, long long hi, long long &out)
{
    if (word.empty() || word.size() > 12)
        return false;
    size_t i = word[0] == '-' || word[0] == '+' ? 1 : 0;
    if (i == word.size())
        return false;
    for (size_t j = i; j < word.size(); ++j)
        if (!std::isdigit(static_cast<unsigned char>(word[j])))
            return false;
    out = std::strtoll(word.c_str(), nullptr, 10);
    return out >= lo && out <= hi;
}

// The words of a line, and what follows its first word as written (a file name may hold
// spaces).
std::vector<std::string> Words(const std::string &line, std::string &rest)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    rest.clear();
    if (words.empty())
        return words;
    const size_t after = line.find(words[0]) + words[0].size();
    rest = line.substr(after);
    rest.erase(0, rest.find_first_not_of(" \t"));
    rest.erase(rest.find_last_not_of(" \t") + 1);
    return words;
}

bool ParseLine(const std::string &line, ScriptStep &step, bool &empty, std::string &problem)
{
    std::string rest;
    std::vector<std::string> words = Words(line, rest);
    // A comment is a whole line: "#" may stand in a key or a file name.
    empty = words.empty() || words[0][0] == '#';
    if (empty)
        return true;
    const std::string &command = words[0];
    using Kind = ScriptStep::Kind;
    if (command == "click" || command == "move") {
        // "X Y" or "X, Y" or "X,Y".
        std::string joined;
        for (size_t i = 1; i < words.size(); ++i)
            joined += words[i] + " ";
        for (char &c : joined)
            if (c == ',')
                c = ' ';
        std::istringstream in(joined);
        std::vector<std::string> args;
        for (std::string a; in >> a;)
            args.push_back(a);
        long long x = 0, y = 0;
        const bool isClick = command == "click";
        const bool right = isClick && args.size() == 3 && (args[2] == "right" || args[2] == "left");
        if (!(args.size() == 2 || right) || !ParseInt(args[0], INT_MIN, INT_MAX, x) ||
            !ParseInt(args[1], INT_MIN, INT_MAX, y))
            return problem = isClick ? "click takes X Y and then, if wanted, right" : "move takes X Y", false;
        step.kind = isClick ? Kind::Click : Kind::Move;
        step.x = static_cast<int>(x);
        step.y = static_cast<int>(y);
        step.button = right && args[2] == "right" ? 1 : 0;
        return true;
    }
    if (command == "key") {
        if (words.size() != 2)
            return problem = "key takes one key: a character or a name such as Escape", false;
        if (!KeyForName(words[1], step.virtualKey, step.shift))
            return problem = "no key is called \"" + words[1] + "\"", false;
        step.kind = Kind::Key;
        return true;
    }
    if (command == "pause") {
        long long ms = 0;
        if (words.size() != 2 || !ParseInt(words[1], 0, INT_MAX, ms))
            return problem = "pause takes a number of milliseconds", false;
        step.kind = Kind::Pause;
        step.milliseconds = static_cast<uint32_t>(ms);
        return true;
    }
    if (command == "screenshot") {
        if (rest.empty())
            return problem = "screenshot takes the name of a PNG file", false;
        step.kind = Kind::Screenshot;
        step.path = rest;
        return true;
    }
    if (command == "close") {
        if (words.size() != 1)
            return problem = "close takes nothing more", false;
        step.kind = Kind::Close;
        return true;
    }
    return problem = "unknown command \"" + command + "\" (click, move, key, pause, screenshot, close)", false;
}

} // namespace

bool ParseScript(const std::string &text, std::vector<ScriptStep> &steps, std::string &error)
{
    steps.clear();
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back(); // a script saved on Windows
        ScriptStep step;
        bool empty = false;
        std::string problem;
        if (!ParseLine(line, step, empty, problem)) {
            error = std::to_string(number) + ": " + problem;
            steps.clear();
            return false;
        }
        if (empty)
            continue;
        step.line = number;
        steps.push_back(std::move(step));
    }
    return true;
}

} // namespace standin::user
