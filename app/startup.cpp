#include "app/startup.h"

int RunApplication(HINSTANCE) { return 0; }
