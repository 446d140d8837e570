// script.h - the script of inputs a run plays (QUILLGRAPH_SCRIPT): one command a line; a
// line whose first word starts with "#" is a comment. docs/headless.md is the users' list.
//   click X Y [right]   press and release a button at drawing pixel (X, Y)
//   move X Y            move the mouse there
//   key NAME            press and release a key: a character ("a", "A", "?") or a name
//                       (Escape, Enter, Space, Tab, Backspace, Left, Up, F1...)
//   pause MS            let MS milliseconds of the program's clock pass
//   screenshot FILE     save the window as a PNG picture
//   close               the close button of the window's title bar
#ifndef STANDIN_USER_BACKENDS_SCRIPT_H
#define STANDIN_USER_BACKENDS_SCRIPT_H

#include <cstdint>
#include <string>
#include <vector>

namespace standin::user {

struct ScriptStep {
    enum class Kind { Click, Move, Key, Pause, Screenshot, Close };
    Kind kind = Kind::Pause;
    int line = 0;         // where it stands in the script, for messages
    int x = 0, y = 0;     // Click, Move
    int button = 0;       // Click: 0 left, 1 right
    int virtualKey = 0;   // Key
    bool shift = false;   // Key: the character needs Shift held
    uint32_t milliseconds = 0; // Pause
    std::string path;     // Screenshot
};

// Parses a whole script. On the first bad line returns false with `error` set to
// "LINE: what is wrong"; nothing of the script runs then.
bool ParseScript(const std::string &text, std::vector<ScriptStep> &steps, std::string &error);

} // namespace standin::user

#endif // STANDIN_USER_BACKENDS_SCRIPT_H
