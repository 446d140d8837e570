// registry.cpp - the WindowRegistry: a short linked list keyed by window handle, and the
// changes the window procedure makes through it.
#include "registry.h"

#include <new>

WindowRegistry *windowRegistry = nullptr;

void WindowRegistry::RegisterWindow(HWND handle, window *windowObject)
{
    RegistryEntry **link = &head;
    for (; *link; link = &(*link)->next) {
        if ((*link)->handle == handle)
            return;
    }
    // The count is raised with the entry, so that it always agrees with the list.
    *link = new (std::nothrow) RegistryEntry(handle, windowObject);
    if (!*link)
        throw ERROR_OUT_OF_MEMORY;
    ++windowCount;
}

void WindowRegistry::UnregisterWindow(HWND handle)
{
    for (RegistryEntry **link = &head; *link; link = &(*link)->next) {
        RegistryEntry *entry = *link;
        if (entry->handle != handle)
            continue;
        --windowCount;
        *link = entry->next;
        entry->next = nullptr;
        delete entry;
        return;
    }
}

window *WindowRegistry::FindWindowObject(HWND handle) const
{
    for (const RegistryEntry *entry = head; entry; entry = entry->next) {
        if (entry->handle == handle)
            return entry->windowObject;
    }
    return nullptr;
}

void WindowRegistry::RecordButton(HWND handle, MouseButton button, PressState state, int x, int y)
{
    window *target = FindWindowObject(handle);
    if (!target)
        return;
    if (button != MOUSE_LEFT)
        target->rightButtonState = state;
    else
        target->leftButtonState = state;
    target->iMouseX = x;
    target->iMouseY = y;
}

void WindowRegistry::RecordMouseMove(HWND handle, int x, int y)
{
    window *target = FindWindowObject(handle);
    if (!target)
        return;
    target->iMouseX = x;
    target->iMouseY = y;
}

void WindowRegistry::QueueClick(HWND handle, ClickKind kind, int x, int y)
{
    window *target = FindWindowObject(handle);
    if (!target)
        return;
    auto *record = new (std::nothrow) ClickRecord{kind, x, y, nullptr};
    if (!record)
        throw ERROR_OUT_OF_MEMORY;
    target->clickQueue.Enqueue(record);
}

void WindowRegistry::QueueKey(HWND handle, KeyKind kind, char value)
{
    window *target = FindWindowObject(handle);
    if (!target)
        return;
    auto *record = new (std::nothrow) KeyRecord{kind, value, nullptr};
    if (!record)
        throw ERROR_OUT_OF_MEMORY;
    target->keyQueue.Enqueue(record);
}
