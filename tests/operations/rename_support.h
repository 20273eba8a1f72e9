#pragma once
// Observers shared by the batch tests: what the user would see of the list,
// the menu and the progress bar.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>

#include "app/main_window.h"

// The directory list's top edge in the main window's client area.
inline int ListTop() {
    RECT rect{};
    GetWindowRect(DirectoryListHandle(), &rect);
    MapWindowPoints(HWND_DESKTOP, MainWindowHandle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect.top;
}

inline bool ItemEnabled(UINT command) {
    const UINT state = GetMenuState(SettingsMenuHandle(), command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

// The items that start a batch or change the rows, and those that keep working during one.
inline constexpr std::array<UINT, 5> kBatchItems{IDM_RENAME, IDM_REMOVE_EMPTY, IDM_CLEAR, IDM_LOAD, IDM_CLASSIFY};
inline constexpr std::array<UINT, 3> kFreeItems{IDM_WITH_FILE_NAME, IDM_CONFIG, IDM_ABOUT};

inline int ProgressBarPosition() { return static_cast<int>(SendMessageA(ProgressBarHandle(), PBM_GETPOS, 0, 0)); }

inline bool QuitQueued() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}
