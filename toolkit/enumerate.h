#pragma once
#include "toolkit/text.h"

// Lists the files under `directory` matching the "|"-separated `patterns`.
// Non-recursive calls empty `results` first; recursive ones append.
// Returns the number of entries in `results`.
int EnumerateFiles(const Text& directory, const Text& patterns, TextArray& results, bool withPath = false,
                   bool recursive = false);

// Dispatches every pending message of the thread. A quit message taken from
// the queue is posted again, so the program still ends.
void PumpMessages();
