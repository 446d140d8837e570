// The sdl2 backend: real windows on X11, Wayland or macOS. The client surface is copied
// to SDL's window surface (the X shared-memory path, not OpenGL) when the queue presents
// it; native input becomes InputEvents with Win32 virtual-key codes.
//
// On a high-density display (or with QUILLGRAPH_SCALE) each drawing pixel is shown as a
// block of scale x scale screen pixels: the program's coordinates stay drawing pixels,
// mouse positions are divided back, and the picture is enlarged nearest-neighbour.
#include "user/backends/backend.h"

#include "user/backends/settings.h"

#include <SDL.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

extern "C" char *program_invocation_short_name; // glibc: the program's own name

namespace standin::user {

namespace x11 { // sdl2_x11.cpp: Xlib's names clash with ours, so they stay in a file of their own
void *DisplayOf(SDL_Window *window); // null unless SDL runs the window on X11
bool EventsQueued(void *display);
int ConnectionFd(void *display);
double DisplayDpi(); // 0 when there is no X display to ask
} // namespace x11

namespace {

// Windows-1252 bytes 0x80-0x9F, as Unicode code points (0 where the code page has none).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Window titles are Windows-1252, SDL wants UTF-8.
std::string Utf8FromCp1252(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        uint32_t cp = c < 0x80 ? c : c < 0xA0 ? kCp1252High[c - 0x80] : c;
        if (cp == 0)
            cp = '?';
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int VirtualKeyFromSdl(const SDL_Keysym &k)
{
    SDL_Keycode s = k.sym;
    if (s >= SDLK_a && s <= SDLK_z)
        return 'A' + (s - SDLK_a);
    if (s >= SDLK_0 && s <= SDLK_9)
        return '0' + (s - SDLK_0);
    if (s >= SDLK_F1 && s <= SDLK_F12)
        return VK_F1 + (s - SDLK_F1);
    if (s >= SDLK_KP_1 && s <= SDLK_KP_9)
        return VK_NUMPAD0 + 1 + (s - SDLK_KP_1);
    switch (s) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_LGUI: case SDLK_RGUI: return VK_LWIN;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

// Injected input travels through SDL's own queue as a user event, so it keeps its place
// among real events and wakes a waiting thread the same way.
struct Packed {
    static void Pack(const InputEvent &e, Uint32 windowId, SDL_UserEvent &u)
    {
        u.windowID = windowId;
        u.code = static_cast<Sint32>(static_cast<uint32_t>(e.type) | (static_cast<uint32_t>(e.button & 0xF) << 4) |
                                     (e.down ? 1u << 8 : 0u) | (e.repeat ? 1u << 9 : 0u) |
                                     (static_cast<uint32_t>(e.virtualKey & 0xFF) << 16));
        u.data1 = reinterpret_cast<void *>(static_cast<intptr_t>(e.x) * 0x100000000LL +
                                           static_cast<uint32_t>(e.y));
        u.data2 = reinterpret_cast<void *>(static_cast<intptr_t>(e.wheelDelta));
    }
    static InputEvent Unpack(const SDL_UserEvent &u, HWND hwnd)
    {
        InputEvent e;
        uint32_t code = static_cast<uint32_t>(u.code);
        e.type = static_cast<InputEvent::Type>(code & 0xF);
        e.hwnd = hwnd;
        e.button = static_cast<int>((code >> 4) & 0xF);
        e.down = (code >> 8) & 1;
        e.repeat = (code >> 9) & 1;
        e.virtualKey = static_cast<int>((code >> 16) & 0xFF);
        auto xy = static_cast<int64_t>(reinterpret_cast<intptr_t>(u.data1));
        e.x = static_cast<int>(xy >> 32);
        e.y = static_cast<int32_t>(static_cast<uint32_t>(xy & 0xFFFFFFFF));
        e.wheelDelta = static_cast<int>(reinterpret_cast<intptr_t>(u.data2));
        return e;
    }
};

static_assert(sizeof(void *) == 8, "the injected-event packing needs 64-bit pointers");

// Rounds toward minus infinity: a captured mouse left of the window maps to -1, not 0.
int FloorDiv(int value, int divisor)
{
    const int q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

// Screen pixels per drawing pixel for a display of this density: twice the usual 96 dpi
// (from about 1.75 times on) gives 2, and so on.
int ScaleForDpi(double dpi)
{
    if (!(dpi > 0))
        return 1;
    return std::clamp(static_cast<int>(std::floor(dpi / 96.0 + 0.25)), 1, 8);
}

// The display's density: from the X server where there is one, else as SDL reports it.
double DisplayDpi()
{
    if (const double dpi = x11::DisplayDpi(); dpi > 0)
        return dpi;
    float diagonal = 0, horizontal = 0, vertical = 0;
    if (SDL_GetDisplayDPI(0, &diagonal, &horizontal, &vertical) == 0)
        return horizontal;
    return 96;
}

// What the backend keeps for one window.
struct Native {
    SDL_Window *window = nullptr;
    int scale = 1;
};

class Sdl2Backend final : public Backend {
public:
    Sdl2Backend()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // Ctrl+C in the terminal still ends the program
        // SDL's default window framebuffer goes through OpenGL, which without a GPU is a
        // software renderer costing milliseconds a frame; this keeps X shared memory.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1"); // the first click counts, as on Win32
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        // Only a real display will do: SDL would otherwise fall back to its offscreen
        // driver, and the program would run on with a window nobody can see.
        const char *display = std::getenv("DISPLAY");
        const char *wayland = std::getenv("WAYLAND_DISPLAY");
        bool haveX11 = display && *display, haveWayland = wayland && *wayland;
        std::string drivers;
#ifdef __APPLE__
        drivers = "cocoa";
#else
        if (haveX11)
            drivers = "x11";
        if (haveWayland)
            drivers += drivers.empty() ? "wayland" : ",wayland";
#endif
        if (drivers.empty())
            CannotOpen("no display (is DISPLAY set?)");
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str()); // SDL_VIDEODRIVER still wins
        // A display that is up can still refuse a connection for a moment on a loaded
        // machine ("x11 not available"): ask again a few times before giving up.
        for (int tries = 1; SDL_Init(SDL_INIT_VIDEO) != 0; ++tries) {
            if (tries == 5)
                CannotOpen(SDL_GetError());
            SDL_Delay(100u * static_cast<Uint32>(tries));
        }
        SDL_StopTextInput(); // characters come from TranslateMessage, not an input method
        const int asked = CurrentSettings().scale;
        scaleAsked_ = asked > 0;
        scale_ = scaleAsked_ ? asked : (haveX11 || haveWayland ? ScaleForDpi(DisplayDpi()) : 1);
        injectType_ = SDL_RegisterEvents(1);
        arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        if (arrow_)
            SDL_SetCursor(arrow_);
        wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }

    [[noreturn]] static void CannotOpen(const char *why)
    {
        std::fprintf(stderr, "%s: cannot open a window: %s\n", program_invocation_short_name, why);
        std::exit(1);
    }

    ~Sdl2Backend() override
    {
        if (arrow_)
            SDL_FreeCursor(arrow_);
        SDL_Quit();
        if (wakeFd_ >= 0)
            close(wakeFd_);
    }

    bool Create(Window &w) override
    {
        const POINT origin = w.ClientOrigin();
        const int width = std::max(w.ClientWidth(), 1), height = std::max(w.ClientHeight(), 1);
        int scale = scale_;
        // A scale worked out from the display gives way where the window would not fit on
        // the screen; one the user asked for is kept.
        if (!scaleAsked_) {
            SDL_DisplayMode mode{};
            if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
                while (scale > 1 && (int64_t{width} * scale > mode.w || int64_t{height} * scale > mode.h))
                    --scale;
        }
        // Not resizable; no SDL_WINDOW_ALLOW_HIGHDPI, so a window pixel is a screen pixel.
        SDL_Window *sw = SDL_CreateWindow(Utf8FromCp1252(w.title).c_str(), ScreenCoordinate(origin.x),
                                          ScreenCoordinate(origin.y), width * scale, height * scale,
                                          SDL_WINDOW_HIDDEN);
        if (!sw)
            return false;
        w.backendWindow = new Native{sw, scale};
        if (!xDisplay_)
            xDisplay_ = x11::DisplayOf(sw);
        std::lock_guard lock(mutex_);
        byId_[SDL_GetWindowID(sw)] = Route{w.hwnd(), scale};
        byHwnd_[w.hwnd()] = SDL_GetWindowID(sw);
        return true;
    }

    void SetTitle(Window &w) override { SDL_SetWindowTitle(Sdl(w), Utf8FromCp1252(w.title).c_str()); }

    void Show(Window &w, bool visible) override
    {
        if (visible) {
            SDL_ShowWindow(Sdl(w));
            SDL_RaiseWindow(Sdl(w));
        } else {
            SDL_HideWindow(Sdl(w));
        }
    }

    void Present(Window &w, const RECT &area) override
    {
        SDL_Surface *screen = SDL_GetWindowSurface(Sdl(w));
        if (!screen)
            return;
        const int s = Scale(w);
        const gdi::Surface &client = w.client->surface;
        SDL_Rect r{area.left, area.top, std::min<int>(area.right, screen->w / s) - area.left,
                   std::min<int>(area.bottom, screen->h / s) - area.top};
        if (r.w <= 0 || r.h <= 0)
            return;
        if (SDL_MUSTLOCK(screen))
            SDL_LockSurface(screen);
        const int bpp = screen->format->BytesPerPixel;
        auto *dst = static_cast<uint8_t *>(screen->pixels) + static_cast<ptrdiff_t>(r.y) * s * screen->pitch +
                    static_cast<ptrdiff_t>(r.x) * s * bpp;
        const void *src = client.Row(r.y) + r.x;
        // Client pixels are 0x00RRGGBB, SDL's RGB888; the window surface is usually the same.
        if (s == 1) {
            SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888, src, client.width * 4, screen->format->format,
                              dst, screen->pitch);
        } else {
            // Each row in the screen's format once, then every pixel s times across and
            // the widened row s times down.
            row_.resize(static_cast<size_t>(r.w) * bpp);
            for (int y = 0; y < r.h; ++y) {
                SDL_ConvertPixels(r.w, 1, SDL_PIXELFORMAT_RGB888, client.Row(r.y + y) + r.x, client.width * 4,
                                  screen->format->format, row_.data(), r.w * bpp);
                uint8_t *out = dst + static_cast<ptrdiff_t>(y) * s * screen->pitch;
                for (int x = 0; x < r.w; ++x)
                    for (int k = 0; k < s; ++k)
                        std::memcpy(out + (static_cast<ptrdiff_t>(x) * s + k) * bpp, row_.data() + x * bpp, bpp);
                for (int k = 1; k < s; ++k)
                    std::memcpy(out + static_cast<ptrdiff_t>(k) * screen->pitch, out,
                                static_cast<size_t>(r.w) * s * bpp);
            }
        }
        if (SDL_MUSTLOCK(screen))
            SDL_UnlockSurface(screen);
        SDL_Rect shown{r.x * s, r.y * s, r.w * s, r.h * s};
        SDL_UpdateWindowSurfaceRects(Sdl(w), &shown, 1);
    }

    void Poll(std::deque<InputEvent> &input) override
    {
        // SDL_PollEvent costs microseconds even with nothing there; asking the window
        // system a few thousand times a second is plenty for input.
        uint64_t now = NowNs();
        if (!pollNow_ && now - lastPollNs_ < kPollIntervalNs)
            return;
        pollNow_ = false;
        lastPollNs_ = now;
        SDL_Event ev;
        while (SDL_PollEvent(&ev))
            Translate(ev, input);
    }

    void Wait(uint64_t timeoutNs) override
    {
        int ms = static_cast<int>(std::min<uint64_t>((timeoutNs + 999999) / 1000000, 1000));
        if (ms > 0) {
            if (xDisplay_ && wakeFd_ >= 0)
                WaitOnX11(ms);
            else
                SDL_WaitEventTimeout(nullptr, ms);
        }
        pollNow_ = true;
    }

    // SDL_WaitEventTimeout on X11 wakes itself for every event it takes in while waiting,
    // by an X event sent to the window over a second connection. Sent just before the
    // window is destroyed, that request can reach the server after the destruction, and
    // the BadWindow it earns ends the program inside SDL_Quit. Waiting on the connection
    // ourselves sends nothing; injected input wakes the wait through wakeFd_.
    void WaitOnX11(int ms)
    {
        if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
            return;
        if (x11::EventsQueued(xDisplay_))
            return;
        pollfd fds[2] = {{x11::ConnectionFd(xDisplay_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, ms) > 0 && (fds[1].revents & POLLIN)) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        }
    }

    void SetCapture(Window *) override
    {
        // SDL already keeps mouse input coming to a window while a button is held, which
        // is when Win32 programs capture; grabbing the pointer beyond that would take the
        // mouse from every other program on the desktop.
    }

    void Destroy(Window &w) override
    {
        SDL_Window *sw = Sdl(w);
        {
            std::lock_guard lock(mutex_);
            byId_.erase(SDL_GetWindowID(sw));
            byHwnd_.erase(w.hwnd());
        }
        SDL_DestroyWindow(sw);
        delete static_cast<Native *>(w.backendWindow);
        w.backendWindow = nullptr;
    }

    void Inject(const InputEvent &e) override
    {
        SDL_Event ev{};
        ev.type = injectType_;
        Uint32 id = 0;
        {
            std::lock_guard lock(mutex_);
            auto it = byHwnd_.find(e.hwnd);
            if (it == byHwnd_.end())
                return; // no such window: input for nobody
            id = it->second;
        }
        Packed::Pack(e, id, ev.user);
        SDL_PushEvent(&ev);
        if (wakeFd_ >= 0) {
            const uint64_t one = 1;
            [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
        }
    }

    // In drawing pixels, like every other coordinate the program sees.
    SIZE ScreenSize() override
    {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
            return SIZE{1024, 768};
        return SIZE{mode.w / scale_, mode.h / scale_};
    }

    int ShowBox(Window *owner, const BoxSpec &box, std::string &why) override
    {
        std::vector<std::string> labels;
        for (const std::string &b : box.buttons)
            labels.push_back(Utf8FromCp1252(b));
        std::vector<SDL_MessageBoxButtonData> buttons(labels.size());
        for (size_t i = 0; i < labels.size(); ++i) {
            const int index = static_cast<int>(i);
            buttons[i].buttonid = index;
            buttons[i].text = labels[i].c_str();
            buttons[i].flags = (index == box.defaultButton ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0) |
                               (index == box.cancelButton ? SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT : 0);
        }
        const std::string title = Utf8FromCp1252(box.caption), text = Utf8FromCp1252(box.text);
        SDL_MessageBoxData data{};
        switch (box.icon) {
        case BoxSpec::Icon::Error: data.flags = SDL_MESSAGEBOX_ERROR; break;
        case BoxSpec::Icon::Warning: data.flags = SDL_MESSAGEBOX_WARNING; break;
        case BoxSpec::Icon::Information:
        case BoxSpec::Icon::Question: data.flags = SDL_MESSAGEBOX_INFORMATION; break;
        case BoxSpec::Icon::None: data.flags = 0; break;
        }
        data.flags |= SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
        data.window = owner && owner->backendWindow ? Sdl(*owner) : nullptr;
        data.title = title.c_str();
        data.message = text.c_str();
        data.numbuttons = static_cast<int>(buttons.size());
        data.buttons = buttons.data();
        int chosen = -1;
        if (SDL_ShowMessageBox(&data, &chosen) != 0) {
            why = SDL_GetError();
            return -1;
        }
        // Closed through its frame: what Escape would have picked.
        if (chosen < 0 || chosen >= data.numbuttons)
            chosen = box.cancelButton >= 0 ? box.cancelButton : box.defaultButton;
        return chosen;
    }

    uint64_t FrameIntervalNs() override
    {
        if (!frameNs_) {
            SDL_DisplayMode mode{};
            int hz = SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
            frameNs_ = 1000000000ull / static_cast<uint64_t>(hz);
        }
        return frameNs_;
    }

private:
    static constexpr uint64_t kPollIntervalNs = 250000;

    struct Route {
        HWND hwnd = nullptr;
        int scale = 1;
    };

    static SDL_Window *Sdl(Window &w) { return static_cast<Native *>(w.backendWindow)->window; }
    static int Scale(Window &w) { return static_cast<Native *>(w.backendWindow)->scale; }

    // A position on the screen for a drawing-pixel one.
    int ScreenCoordinate(int v) const
    {
        return static_cast<int>(std::clamp<int64_t>(int64_t{v} * scale_, INT32_MIN, INT32_MAX));
    }

    Route RouteFor(Uint32 windowId)
    {
        std::lock_guard lock(mutex_);
        auto it = byId_.find(windowId);
        return it == byId_.end() ? Route{} : it->second;
    }

    HWND HwndFor(Uint32 windowId) { return RouteFor(windowId).hwnd; }

    void Translate(const SDL_Event &ev, std::deque<InputEvent> &input)
    {
        InputEvent e;
        // Mouse positions come in window pixels: back to drawing pixels.
        auto place = [&](Uint32 windowId, int x, int y) {
            const Route route = RouteFor(windowId);
            e.hwnd = route.hwnd;
            e.x = FloorDiv(x, route.scale);
            e.y = FloorDiv(y, route.scale);
        };
        switch (ev.type) {
        case SDL_MOUSEMOTION:
            e.type = InputEvent::Type::Move;
            place(ev.motion.windowID, ev.motion.x, ev.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (ev.button.button == SDL_BUTTON_LEFT)
                e.button = 0;
            else if (ev.button.button == SDL_BUTTON_RIGHT)
                e.button = 1;
            else if (ev.button.button == SDL_BUTTON_MIDDLE)
                e.button = 2;
            else
                return;
            e.type = InputEvent::Type::Button;
            place(ev.button.windowID, ev.button.x, ev.button.y);
            e.down = ev.type == SDL_MOUSEBUTTONDOWN;
            break;
        case SDL_MOUSEWHEEL:
            e.type = InputEvent::Type::Wheel;
            place(ev.wheel.windowID, ev.wheel.mouseX, ev.wheel.mouseY);
            e.wheelDelta = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            e.type = InputEvent::Type::Key;
            e.hwnd = HwndFor(ev.key.windowID);
            e.virtualKey = VirtualKeyFromSdl(ev.key.keysym);
            e.down = ev.type == SDL_KEYDOWN;
            e.repeat = ev.key.repeat != 0;
            if (!e.virtualKey)
                return;
            break;
        case SDL_WINDOWEVENT: {
            HWND hwnd = HwndFor(ev.window.windowID);
            if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
                e.type = InputEvent::Type::Close;
                e.hwnd = hwnd;
                break;
            }
            // Uncovered or remapped: show the whole client area again at the next present.
            if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                ev.window.event == SDL_WINDOWEVENT_SHOWN) {
                if (Window *w = FindWindow(hwnd))
                    w->client->MarkAllDirty();
            }
            return;
        }
        default:
            if (ev.type == injectType_) {
                input.push_back(Packed::Unpack(ev.user, HwndFor(ev.user.windowID)));
            }
            return;
        }
        if (e.hwnd)
            input.push_back(e);
    }

    Uint32 injectType_ = 0;
    void *xDisplay_ = nullptr; // the X11 connection of SDL's windows, when SDL runs on X11
    int wakeFd_ = -1;          // written when input is injected, to end a wait on X11
    SDL_Cursor *arrow_ = nullptr;
    int scale_ = 1;          // screen pixels per drawing pixel, for windows to come
    bool scaleAsked_ = false; // from QUILLGRAPH_SCALE rather than the display
    std::vector<uint8_t> row_; // one client row in the screen's format, while presenting
    std::mutex mutex_;
    std::unordered_map<Uint32, Route> byId_;
    std::unordered_map<HWND, Uint32> byHwnd_;
    uint64_t lastPollNs_ = 0;
    bool pollNow_ = true;
    uint64_t frameNs_ = 0;
};

} // namespace

std::unique_ptr<Backend> MakeSdl2Backend() { return std::make_unique<Sdl2Backend>(); }

} // namespace standin::user
