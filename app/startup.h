#pragma once
#include <windows.h>

#include "toolkit/text.h"

// The entry routine: prepares the process, runs the main window's message loop, returns 0.
int RunApplication(HINSTANCE instance);

// The executable's directory (no trailing backslash) and its bare file name,
// known from the start of RunApplication on.
const Text& ExecutableDirectory();
const Text& ExecutableFileName();
