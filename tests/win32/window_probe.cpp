// window_probe.cpp - reports where a top-level window of the given title shows its client
// area on the screen: "X Y WIDTH HEIGHT". Exits with 1 while there is no such window.
//   window_probe TITLE
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe TITLE\n");
        return 2;
    }
    const HWND hwnd = FindWindowA(nullptr, argv[1]);
    if (!hwnd || !IsWindowVisible(hwnd))
        return 1;
    POINT origin = {0, 0};
    RECT client;
    if (!ClientToScreen(hwnd, &origin) || !GetClientRect(hwnd, &client))
        return 1;
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}
