#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "toolkit/text.h"

// The command "分类配置": opens the window, or brings the open one forward.
void OpenConfigWindow();
HWND ConfigWindowHandle();  // null when closed
// The button "更新配置": one setting per extension of the edit box's text.
void WriteCategories();

// The (extension, category) pairs of a category text, in the order they are written.
std::vector<std::pair<Text, Text>> ParseCategories(const Text& categoryText);
