#pragma once
#include <windows.h>

#include "toolkit/text.h"

// The command "分类配置": opens the window, or brings the open one forward.
void OpenConfigWindow();
HWND ConfigWindowHandle();  // null when closed
// The button "更新配置": one setting per extension of the edit box's text.
void WriteCategories();
