// registry.h - the process-wide WindowRegistry: which window object belongs to which
// window-system handle. The window procedure reaches a window only through it.
#ifndef QUILLGRAPH_REGISTRY_H
#define QUILLGRAPH_REGISTRY_H

#include "../graphics.h"

// One registered window. Deleting an entry deletes the chain behind it, so a single
// entry is unlinked (next set to null) before it is deleted.
struct RegistryEntry {
    RegistryEntry *next = nullptr;
    HWND handle = nullptr;           // the key
    window *windowObject = nullptr;  // not owned

    RegistryEntry(HWND key, window *object) : handle(key), windowObject(object) {}
    ~RegistryEntry() { delete next; }
    RegistryEntry(const RegistryEntry &) = delete;
    RegistryEntry &operator=(const RegistryEntry &) = delete;
};

// Exists while at least one window does (windowRegistry is null otherwise).
class WindowRegistry {
public:
    WindowRegistry() = default;
    ~WindowRegistry() { delete head; }
    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    void RegisterWindow(HWND handle, window *windowObject); // a present handle changes nothing
    void UnregisterWindow(HWND handle);                     // an absent handle changes nothing
    window *FindWindowObject(HWND handle) const;            // null when not registered
    unsigned short GetWindowCount() const { return windowCount; }

    // The window procedure's changes to the window of a handle; no window, no change.
    void RecordButton(HWND handle, MouseButton button, PressState state, int x, int y);
    void RecordMouseMove(HWND handle, int x, int y);
    void QueueClick(HWND handle, ClickKind kind, int x, int y);
    void QueueKey(HWND handle, KeyKind kind, char value);

    RegistryEntry *head = nullptr;   // insertion order
    bool closeWaitsForClick = true;  // destroying the last window waits for a click first
    unsigned short windowCount = 0;
};

extern WindowRegistry *windowRegistry;

#endif // QUILLGRAPH_REGISTRY_H
