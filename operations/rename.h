#pragma once
#include "toolkit/text.h"

// The command "遍历开始更名": renames every file beneath each listed directory
// after the directory that directly holds it, numbered within the row.
void RenameAfterDirectory();

// The path up to and including its last backslash; empty when it has none.
Text GetDirectoryPart(const Text& path);
// The next-to-last backslash-separated piece of the path; empty when there is none.
Text GetParentName(const Text& path);
// Directory part + parent name + number + the old whole name (withFileName)
// or only its extension.
Text BuildNewPath(const Text& oldPath, int number, bool withFileName);

// Moves `oldPath` to `newPath` when the new path is valid; never replaces a file.
bool RenameIfValid(const Text& oldPath, const Text& newPath);
// A drive-letter path with a usable last component. A colon anywhere but
// right after the drive letter is refused: a file directly in a drive root
// would otherwise be named after the drive ("D:\D:1.jpg").
bool IsValidFilePath(const Text& path);
// True when the name holds one of ? / \ < > * | : "
bool HasForbiddenCharacter(const Text& name);
