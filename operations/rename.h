#pragma once
#include "toolkit/text.h"

// The command "遍历开始更名".
void RenameAfterDirectory();
