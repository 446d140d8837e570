// keyboard.h - the character a key produces, for TranslateMessage: a US keyboard layout,
// character codes in Windows-1252 (which agrees with ASCII for every key it knows).
#ifndef STANDIN_USER_KEYBOARD_H
#define STANDIN_USER_KEYBOARD_H

namespace standin::user {

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool capsLock = false;
};

// The character code for `virtualKey`, or 0 when the key produces none (arrows, function
// keys, Insert, Delete, the modifiers themselves...).
unsigned CharacterForKey(int virtualKey, Modifiers mods);

} // namespace standin::user

#endif // STANDIN_USER_KEYBOARD_H
