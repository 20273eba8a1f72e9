#pragma once
#include <windows.h>

// The entry routine: prepares the process, runs the main window's message loop, returns 0.
int RunApplication(HINSTANCE instance);
