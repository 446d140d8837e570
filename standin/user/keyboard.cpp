// Virtual key + modifier state -> character, as TranslateMessage does it with a US layout.
#include "user/keyboard.h"

#include <standin/win32.h>

namespace standin::user {

namespace {

struct Punctuation {
    int virtualKey;
    char plain, shifted;
};

constexpr Punctuation kPunctuation[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
};

} // namespace

unsigned CharacterForKey(int vk, Modifiers mods)
{
    switch (vk) {
    case VK_BACK:
        return mods.control ? 127 : 8;
    case VK_TAB:
        return mods.control ? 0 : 9;
    case VK_RETURN:
        return mods.control ? 10 : 13;
    case VK_ESCAPE:
        return 27;
    case VK_SPACE:
        return ' ';
    case VK_MULTIPLY:
        return '*';
    case VK_ADD:
        return '+';
    case VK_SUBTRACT:
        return '-';
    case VK_DECIMAL:
        return '.';
    case VK_DIVIDE:
        return '/';
    default:
        break;
    }
    if (vk >= 'A' && vk <= 'Z') {
        if (mods.control)
            return static_cast<unsigned>(vk - 'A' + 1); // Ctrl+A is 1 ... Ctrl+Z is 26
        bool upper = mods.shift != mods.capsLock;
        return static_cast<unsigned>(upper ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9') {
        if (mods.control)
            return 0;
        static const char shifted[] = ")!@#$%^&*(";
        return static_cast<unsigned char>(mods.shift ? shifted[vk - '0'] : vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<unsigned>('0' + vk - VK_NUMPAD0);
    for (const Punctuation &p : kPunctuation) {
        if (p.virtualKey != vk)
            continue;
        if (mods.control) {
            // The control characters that Ctrl+[ \ ] give on Win32.
            if (vk == VK_OEM_4)
                return 27;
            if (vk == VK_OEM_5)
                return 28;
            if (vk == VK_OEM_6)
                return 29;
            return 0;
        }
        return static_cast<unsigned char>(mods.shift ? p.shifted : p.plain);
    }
    return 0;
}

} // namespace standin::user
