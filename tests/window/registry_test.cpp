// The WindowRegistry on its own: insertion order, duplicate and absent handles, lookups,
// and the procedure's changes reaching only a registered window.
#include "support.h"

#include <cstdint>
#include <type_traits>

namespace {

HWND FakeHandle(uintptr_t value) { return reinterpret_cast<HWND>(value); }
window *FakeWindow(uintptr_t value) { return reinterpret_cast<window *>(value); }

std::vector<HWND> Handles(const WindowRegistry &registry)
{
    std::vector<HWND> handles;
    for (const RegistryEntry *entry = registry.head; entry; entry = entry->next)
        handles.push_back(entry->handle);
    return handles;
}

TEST(WindowRegistry, KeepsOneEntryAHandleInInsertionOrder)
{
    WindowRegistry registry;
    EXPECT_TRUE(registry.closeWaitsForClick);
    EXPECT_EQ(registry.GetWindowCount(), 0);
    EXPECT_EQ(registry.FindWindowObject(FakeHandle(0x10)), nullptr);

    registry.RegisterWindow(FakeHandle(0x10), FakeWindow(0x100));
    registry.RegisterWindow(FakeHandle(0x20), FakeWindow(0x200));
    registry.RegisterWindow(FakeHandle(0x30), FakeWindow(0x300));
    EXPECT_EQ(registry.GetWindowCount(), 3);
    EXPECT_EQ(Handles(registry),
              (std::vector<HWND>{FakeHandle(0x10), FakeHandle(0x20), FakeHandle(0x30)}));

    // Present already: neither the list nor the count changes, nor the window it names.
    registry.RegisterWindow(FakeHandle(0x20), FakeWindow(0x999));
    EXPECT_EQ(registry.GetWindowCount(), 3);
    EXPECT_EQ(Handles(registry).size(), 3u);
    EXPECT_EQ(registry.FindWindowObject(FakeHandle(0x20)), FakeWindow(0x200));

    registry.UnregisterWindow(FakeHandle(0x40));
    EXPECT_EQ(registry.GetWindowCount(), 3);

    // Out of the middle, then the head, then the last: the rest stays linked.
    registry.UnregisterWindow(FakeHandle(0x20));
    EXPECT_EQ(registry.GetWindowCount(), 2);
    EXPECT_EQ(Handles(registry), (std::vector<HWND>{FakeHandle(0x10), FakeHandle(0x30)}));
    EXPECT_EQ(registry.FindWindowObject(FakeHandle(0x20)), nullptr);
    registry.UnregisterWindow(FakeHandle(0x10));
    EXPECT_EQ(Handles(registry), (std::vector<HWND>{FakeHandle(0x30)}));
    EXPECT_EQ(registry.FindWindowObject(FakeHandle(0x30)), FakeWindow(0x300));
    registry.UnregisterWindow(FakeHandle(0x30));
    EXPECT_EQ(registry.head, nullptr);
    EXPECT_EQ(registry.GetWindowCount(), 0);

    // Re-registering after removal appends again; the destructor frees what is left.
    registry.RegisterWindow(FakeHandle(0x10), FakeWindow(0x100));
    registry.RegisterWindow(FakeHandle(0x20), FakeWindow(0x200));
    EXPECT_EQ(registry.GetWindowCount(), 2);
}

TEST(WindowRegistry, ChangesForAnUnknownHandleDoNothing)
{
    WindowRegistry registry;
    registry.RecordButton(FakeHandle(0x10), MOUSE_LEFT, BUTTON_PRESSED, 1, 2);
    registry.RecordMouseMove(FakeHandle(0x10), 1, 2);
    registry.QueueClick(FakeHandle(0x10), CLICK_LEFT, 1, 2);
    registry.QueueKey(FakeHandle(0x10), KEY_CHARACTER, 'a');
    EXPECT_EQ(registry.head, nullptr);
}

TEST_F(WindowTest, TheProcedureReachesOnlyRegisteredWindows)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    windowRegistry->QueueClick(hwnd, CLICK_RIGHT, 4, 5);
    windowRegistry->QueueKey(hwnd, KEY_FUNCTION, 3);
    windowRegistry->RecordButton(hwnd, static_cast<MouseButton>(7), BUTTON_PRESSED, 6, 7);
    int x, y;
    EXPECT_EQ(w->GetButtonState(MOUSE_RIGHT, x, y), BUTTON_PRESSED); // any button but 0
    EXPECT_EQ(w->GetButtonState(MOUSE_LEFT, x, y), BUTTON_RELEASED);
    // Asking with a value outside the two names is defined too: it is the right button.
    static_assert(std::is_same_v<std::underlying_type_t<MouseButton>, int>);
    EXPECT_EQ(w->GetButtonState(static_cast<MouseButton>(7), x, y), BUTTON_PRESSED);
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 7);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_RIGHT);
    char value;
    EXPECT_EQ(w->PollKeyPress(value), KEY_FUNCTION);
    EXPECT_EQ(value, 3);

    // Unregistered, the window's messages find nothing: a click is not queued.
    windowRegistry->UnregisterWindow(hwnd);
    Click(hwnd, 0, 1, 1);
    Pump(*w, 2);
    windowRegistry->RegisterWindow(hwnd, w.get());
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    w->GetMousePosition(x, y);
    EXPECT_EQ(x, 6);
}

} // namespace
