// Input: one message per pump, clicks at their release positions, the key table, the
// queues and the discards, which leave the other queue and later messages alone.
#include "support.h"

#include "../images/allocation_failures.h"
#include "window/windowproc.h"

#include <functional>

namespace {

struct KeyPress {
    KeyKind kind;
    char value;
    bool operator==(const KeyPress &other) const { return kind == other.kind && value == other.value; }
};

void PrintTo(const KeyPress &key, std::ostream *out)
{
    *out << "(" << key.kind << ", " << static_cast<int>(key.value) << ")";
}

// Every key record that pumps messages can produce, until the queue stays empty.
std::vector<KeyPress> TakeKeys(window &w, int pumps = 8)
{
    std::vector<KeyPress> keys;
    for (int i = 0; i < pumps; ++i) {
        char value;
        const KeyKind kind = w.PollKeyPress(value);
        if (kind != KEY_NONE)
            keys.push_back({kind, value});
    }
    return keys;
}

TEST_F(WindowTest, NothingQueuedGivesTheEmptyAnswers)
{
    auto w = OpenQuiet();
    int x = 5, y = 5;
    w->GetMousePosition(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(w->GetButtonState(MOUSE_LEFT, x, y), BUTTON_RELEASED);
    EXPECT_EQ(w->GetButtonState(MOUSE_RIGHT, x, y), BUTTON_RELEASED);
    x = y = 5;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    char value = 'q';
    EXPECT_EQ(w->PollKeyPress(value), KEY_NONE);
    EXPECT_EQ(value, 0);
}

TEST_F(WindowTest, EachCallPumpsOneMessageAndAClickCarriesItsReleasePosition)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    for (const auto &[button, kind] : {std::pair{MOUSE_LEFT, CLICK_LEFT}, std::pair{MOUSE_RIGHT, CLICK_RIGHT}}) {
        hooks::InjectButton(hwnd, button, true, 10, 20);
        hooks::InjectMove(hwnd, 20, 30);
        hooks::InjectButton(hwnd, button, false, 30, 40);
        int x, y;
        EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE); // the press only
        EXPECT_EQ(w->GetButtonState(button, x, y), BUTTON_PRESSED); // the move
        EXPECT_EQ(x, 20);
        EXPECT_EQ(y, 30);
        EXPECT_EQ(w->GetButtonState(button == MOUSE_LEFT ? MOUSE_RIGHT : MOUSE_LEFT, x, y),
                  BUTTON_RELEASED); // the release, queued
        EXPECT_EQ(w->GetButtonState(button, x, y), BUTTON_RELEASED);
        EXPECT_EQ(x, 30);
        EXPECT_EQ(y, 40);
        EXPECT_EQ(w->PollMouseClick(x, y), kind);
        EXPECT_EQ(x, 30);
        EXPECT_EQ(y, 40);
        EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
        // The position stays when the click has been taken.
        w->GetMousePosition(x, y);
        EXPECT_EQ(x, 30);
    }
}

TEST_F(WindowTest, ClicksComeOutInOrderAndACapturedReleaseLeftOfTheWindowWraps)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    Click(hwnd, 0, 1, 2);
    Click(hwnd, 1, 3, 4);
    Click(hwnd, 0, 5, 6);
    hooks::InjectButton(hwnd, 0, true, 10, 10);
    hooks::InjectButton(hwnd, 0, false, -1, 7);
    Pump(*w, 8);

    const struct {
        ClickKind kind;
        int x, y;
    } expected[] = {{CLICK_LEFT, 1, 2}, {CLICK_RIGHT, 3, 4}, {CLICK_LEFT, 5, 6}, {CLICK_LEFT, 65535, 7}};
    for (const auto &click : expected) {
        int x, y;
        EXPECT_EQ(w->PollMouseClick(x, y), click.kind);
        EXPECT_EQ(x, click.x);
        EXPECT_EQ(y, click.y);
    }
    int x, y;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
}

TEST_F(WindowTest, OtherMouseMessagesChangeNothing)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    PostMessageA(hwnd, WM_MBUTTONDOWN, 0, MAKELPARAM(3, 4));
    PostMessageA(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 4));
    PostMessageA(hwnd, WM_MOUSEWHEEL, 0, MAKELPARAM(3, 4));
    Pump(*w, 3);
    int x, y;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    w->GetMousePosition(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

TEST_F(WindowTest, KeysGiveTheirRecords)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);

    PressKey(hwnd, VK_ESCAPE);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_ESCAPE, 1}, {KEY_CHARACTER, 27}}));
    PressKey(hwnd, VK_F1 + 4);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_FUNCTION, 5}}));
    PressKey(hwnd, VK_UP);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_NAVIGATION, NAV_UP}}));
    PressKey(hwnd, 'A');
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_CHARACTER, 'a'}}));
    PressKey(hwnd, VK_RETURN);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_CHARACTER, 13}}));
    PressKey(hwnd, VK_INSERT);
    PressKey(hwnd, VK_SHIFT);
    EXPECT_EQ(TakeKeys(*w), std::vector<KeyPress>{});
    // Auto-repeat: every key-down counts.
    hooks::InjectKey(hwnd, VK_LEFT, true);
    hooks::InjectKey(hwnd, VK_LEFT, true);
    hooks::InjectKey(hwnd, VK_LEFT, false);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_NAVIGATION, NAV_LEFT}, {KEY_NAVIGATION, NAV_LEFT}}));
}

TEST(KeyTable, MapsExactlyEscapeNavigationAndFunctionKeys)
{
    const struct {
        WPARAM virtualKey;
        KeyKind kind;
        char value;
    } table[] = {
        {VK_ESCAPE, KEY_ESCAPE, 1},       {VK_PRIOR, KEY_NAVIGATION, 9}, {VK_NEXT, KEY_NAVIGATION, 3},
        {VK_END, KEY_NAVIGATION, 1},      {VK_HOME, KEY_NAVIGATION, 7},  {VK_LEFT, KEY_NAVIGATION, 4},
        {VK_UP, KEY_NAVIGATION, 8},       {VK_RIGHT, KEY_NAVIGATION, 6}, {VK_DOWN, KEY_NAVIGATION, 2},
        {VK_F1, KEY_FUNCTION, 1},         {VK_F12, KEY_FUNCTION, 12},    {0x74, KEY_FUNCTION, 5},
    };
    for (const auto &entry : table) {
        KeyKind kind = KEY_NONE;
        char value = 0;
        EXPECT_TRUE(KeyRecordForVirtualKey(entry.virtualKey, kind, value)) << entry.virtualKey;
        EXPECT_EQ(kind, entry.kind) << entry.virtualKey;
        EXPECT_EQ(value, entry.value) << entry.virtualKey;
    }
    int mapped = 0;
    for (WPARAM code = 0; code < 256; ++code) {
        KeyKind kind;
        char value;
        mapped += KeyRecordForVirtualKey(code, kind, value);
    }
    EXPECT_EQ(mapped, 1 + 8 + 12);
}

TEST_F(WindowTest, DiscardsLeaveTheOtherQueueAndLaterMessagesAlone)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    Click(hwnd, 0, 1, 1);
    PressKey(hwnd, 'X');
    Pump(*w, 8);
    Click(hwnd, 0, 2, 2); // still waiting in the platform's queue

    w->DiscardKeyPresses(); // pumps the press of the second click
    char value;
    EXPECT_EQ(w->PollKeyPress(value), KEY_NONE); // pumps its release
    int x, y;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 2);

    Click(hwnd, 0, 3, 3);
    PressKey(hwnd, 'Y');
    Pump(*w, 8);
    hooks::InjectKey(hwnd, 'Z', true);
    w->DiscardMouseClicks(); // pumps the Z key-down
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_CHARACTER, 'y'}, {KEY_CHARACTER, 'z'}}));
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);

    // The pump comes first: a click released by that very message goes too.
    Click(hwnd, 0, 4, 4);
    Pump(*w, 1);
    w->DiscardMouseClicks();
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
}

TEST_F(WindowTest, AwaitTakesAQueuedClickAfterOnePump)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    Click(hwnd, 1, 9, 8);
    PressKey(hwnd, VK_HOME);
    Pump(*w, 8);
    hooks::StartCallLog();
    int x, y;
    EXPECT_EQ(w->AwaitMouseClick(x, y), CLICK_RIGHT);
    char value;
    EXPECT_EQ(w->AwaitKeyPress(value), KEY_NAVIGATION);
    EXPECT_EQ(CountCalls(hooks::StopCallLog(), "PeekMessageA"), 2);
    EXPECT_EQ(x, 9);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(value, NAV_HOME);
}

// The queues have no bound of their own: what ends them is the memory for one more record,
// and then the error leaves the pump that dispatched the message, with what was queued
// before still there.
TEST_F(WindowTest, ARecordWithoutMemoryThrowsFromThePumpAndKeepsTheQueues)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    Click(hwnd, 0, 5, 6);
    PressKey(hwnd, VK_F5);
    Pump(*w, 4);
    int x, y;
    // A click's record comes with the release, the second message; a key's with the first.
    const std::pair<std::function<void()>, int> inputs[] = {{[&] { Click(hwnd, 1, 7, 8); }, 1},
                                                             {[&] { PressKey(hwnd, VK_F1 + 5); }, 0}};
    for (const auto &[input, pumpsBefore] : inputs) {
        input();
        Pump(*w, pumpsBefore);
        allocations::Start(1);
        try {
            w->GetMousePosition(x, y);
            ADD_FAILURE() << "no exception";
        } catch (error e) {
            EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
        }
        allocations::Stop();
        Pump(*w, 2);
    }
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(TakeKeys(*w), (std::vector<KeyPress>{{KEY_FUNCTION, 5}}));
    ReleaseCapture();
}

TEST(RecordQueue, IsFirstInFirstOutAndStartsAfreshWhenEmptied)
{
    ClickQueue queue;
    EXPECT_EQ(queue.Dequeue(), nullptr);
    queue.Enqueue(nullptr);
    EXPECT_EQ(queue.Dequeue(), nullptr);
    queue.Enqueue(new ClickRecord{CLICK_LEFT, 1, 1, nullptr});
    queue.Enqueue(new ClickRecord{CLICK_RIGHT, 2, 2, nullptr});
    for (int x : {1, 2}) {
        ClickRecord *record = queue.Dequeue();
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->x, x);
        EXPECT_EQ(record->next, nullptr);
        delete record;
    }
    EXPECT_EQ(queue.Dequeue(), nullptr);
    queue.Enqueue(new ClickRecord{CLICK_LEFT, 3, 3, nullptr});
    ClickRecord *record = queue.Dequeue();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->x, 3);
    delete record;
    EXPECT_EQ(queue.Dequeue(), nullptr);
    // Records still queued go with the queue (the leak checker watches).
    queue.Enqueue(new ClickRecord{CLICK_LEFT, 4, 4, nullptr});
    KeyQueue keys;
    keys.Enqueue(new KeyRecord{KEY_CHARACTER, 'k', nullptr});
}

} // namespace
