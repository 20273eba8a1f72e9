// Placeholder until the folder loader lands.
#include "sources/load_subdirectories.h"

void LoadSubdirectories() {}
