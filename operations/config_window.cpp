// Placeholder until the configuration window lands.
#include "operations/config_window.h"

void OpenConfigWindow() {}
HWND ConfigWindowHandle() { return nullptr; }
void WriteCategories() {}
