// The QUILLGRAPH_* variables, read once. Unset and empty mean the same: the default.
#include "user/backends/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" char *program_invocation_short_name; // glibc: the program's own name

namespace standin::user {

namespace {

bool Is(const char *value, const char *word) { return std::strcmp(value, word) == 0; }

} // namespace

bool ReadSettings(const std::function<const char *(const char *)> &lookup, Settings &out, std::string &error)
{
    auto get = [&](const char *name) -> const char * {
        const char *v = lookup(name);
        return v && *v ? v : nullptr;
    };
    out = Settings{};
    if (const char *v = get("QUILLGRAPH_BACKEND")) {
        if (Is(v, "headless"))
            out.backend = Settings::BackendChoice::Headless;
        else if (!Is(v, "sdl2"))
            return error = "QUILLGRAPH_BACKEND is \"" + std::string(v) + "\": it takes sdl2 or headless", false;
    }
    if (const char *v = get("QUILLGRAPH_SCALE")) {
        // One digit: a whole number of screen pixels for each drawing pixel.
        if (std::strlen(v) == 1 && v[0] >= '1' && v[0] <= '8')
            out.scale = v[0] - '0';
        else if (!Is(v, "auto"))
            return error = "QUILLGRAPH_SCALE is \"" + std::string(v) + "\": it takes 1 to 8 or auto", false;
    }
    if (const char *v = get("QUILLGRAPH_CLOCK")) {
        if (Is(v, "virtual"))
            out.virtualClock = true;
        else if (!Is(v, "real"))
            return error = "QUILLGRAPH_CLOCK is \"" + std::string(v) + "\": it takes real or virtual", false;
    }
    if (const char *v = get("QUILLGRAPH_SCRIPT"))
        out.scriptPath = v;
    if (const char *v = get("QUILLGRAPH_SCREENSHOT"))
        out.screenshotPath = v;
    return true;
}

void SettingsFailure(const std::string &message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    std::exit(2);
}

const Settings &CurrentSettings()
{
    static const Settings settings = [] {
        Settings s;
        std::string error;
        if (!ReadSettings([](const char *name) { return std::getenv(name); }, s, error))
            SettingsFailure(error);
        return s;
    }();
    return settings;
}

} // namespace standin::user
