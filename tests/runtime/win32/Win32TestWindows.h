// What the tests of the controls' windows share: reading a window's pixels
// off the test display, and a shown form to put controls on.
#pragma once

#include "runtime/Forms.h"
#include "runtime/win32/Win32Controls.h"

#include "EventLoop.h"

#include <windows.h>

// The pixel at (x, y) of `window`'s client area as the screen shows it,
// as a TColor (0x00BBGGRR).
inline TColor ScreenPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

// How many pixels of `window`'s client area show `color`.
inline int CountScreenPixels(HWND window, TColor color)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            count += GetPixel(dc, x, y) == color;
    ReleaseDC(window, dc);
    return count;
}

// Where a point of `window`'s client area is on the screen.
inline POINT OnScreen(HWND window, int x, int y)
{
    POINT at{x, y};
    ClientToScreen(window, &at);
    return at;
}

// Paints whatever is waiting, then lets the display catch up.
inline void Settle()
{
    RunEventsFor(50);
}
