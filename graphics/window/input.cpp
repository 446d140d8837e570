// input.cpp - the eight input operations: mouse position and buttons, and taking or
// dropping the clicks and key presses that the window procedure has queued.
#include "../graphics.h"

void window::GetMousePosition(int &x, int &y)
{
    PumpMessages();
    x = iMouseX;
    y = iMouseY;
}

PressState window::GetButtonState(MouseButton button, int &x, int &y)
{
    PumpMessages();
    x = iMouseX;
    y = iMouseY;
    return button != MOUSE_LEFT ? rightButtonState : leftButtonState;
}

ClickKind window::PollMouseClick(int &x, int &y)
{
    PumpMessages();
    ClickRecord *record = clickQueue.Dequeue();
    if (!record) {
        x = -1;
        y = -1;
        return CLICK_NONE;
    }
    x = record->x;
    y = record->y;
    const ClickKind kind = record->kind;
    delete record;
    return kind;
}

KeyKind window::PollKeyPress(char &value)
{
    PumpMessages();
    KeyRecord *record = keyQueue.Dequeue();
    if (!record) {
        value = 0;
        return KEY_NONE;
    }
    value = record->value;
    const KeyKind kind = record->kind;
    delete record;
    return kind;
}

// The waits spin on the pump, as polling does. Once the on-screen window is gone (it was
// never created, or it no longer exists) nothing can be queued any more, so they give up
// with the empty answer instead of spinning for ever.
ClickKind window::AwaitMouseClick(int &x, int &y)
{
    for (;;) {
        const ClickKind kind = PollMouseClick(x, y);
        if (kind != CLICK_NONE || WindowIsGone())
            return kind;
    }
}

KeyKind window::AwaitKeyPress(char &value)
{
    for (;;) {
        const KeyKind kind = PollKeyPress(value);
        if (kind != KEY_NONE || WindowIsGone())
            return kind;
    }
}

// One pump, then the queue is emptied: messages still waiting in the platform's queue
// are not drained, so input whose messages are dispatched later survives the discard.
void window::DiscardMouseClicks()
{
    PumpMessages();
    while (ClickRecord *record = clickQueue.Dequeue())
        delete record;
}

void window::DiscardKeyPresses()
{
    PumpMessages();
    while (KeyRecord *record = keyQueue.Dequeue())
        delete record;
}
