#pragma once
#include <windows.h>

#include "toolkit/text.h"

// The command "加载子目录": the chosen folder's subdirectories replace the rows.
void LoadSubdirectories();
// The shell's folder chooser; the chosen folder's path, or empty.
Text BrowseForFolder(const Text& title);
int CALLBACK BrowseCallback(HWND dialog, UINT notification, LPARAM parameter, LPARAM data);
// Appends the immediate subdirectories of `directory`; returns the count of `results`.
int ListSubdirectories(const Text& directory, TextArray& results, bool withPath = false);
