// settings.h - what the person running a program chooses through QUILLGRAPH_* variables:
// the backend, the screen scale, a script of inputs, the closing picture and the clock.
// Read once, on first use; docs/headless.md is the table users read.
#ifndef STANDIN_USER_BACKENDS_SETTINGS_H
#define STANDIN_USER_BACKENDS_SETTINGS_H

#include <functional>
#include <string>

namespace standin::user {

struct Settings {
    enum class BackendChoice { Display, Headless };
    BackendChoice backend = BackendChoice::Display;
    int scale = 0;               // 1..8; 0 means "work it out from the display's density"
    std::string scriptPath;      // QUILLGRAPH_SCRIPT; empty when unset
    std::string screenshotPath;  // QUILLGRAPH_SCREENSHOT; empty when unset
    bool virtualClock = false;   // QUILLGRAPH_CLOCK=virtual
};

// A value that cannot be understood ends the program with status 2 and one line naming
// the variable: carrying on would run it in a way nobody asked for.
const Settings &CurrentSettings();

// The same reading, from any lookup function: what CurrentSettings does with getenv.
// Returns false and sets `error` to the message for the first bad value.
bool ReadSettings(const std::function<const char *(const char *name)> &lookup, Settings &out, std::string &error);

// Ends the program with status 2 after "<program>: <message>" on standard error.
[[noreturn]] void SettingsFailure(const std::string &message);

} // namespace standin::user

#endif // STANDIN_USER_BACKENDS_SETTINGS_H
