// Placeholder until the renaming lands.
#include "operations/rename.h"

void RenameAfterDirectory() {}
