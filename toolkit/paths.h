#pragma once
#include <windows.h>

#include "toolkit/text.h"

// UTF-16LE code units as raw bytes, normally ending with one zero unit.
using WideBytes = std::string;

Text GetExtension(const Text& path);
Text GetFileName(const Text& path, bool withExtension);

WideBytes ToWide(const Text& text, bool trim = false);
WideBytes TrimWideAtZero(const WideBytes& bytes, bool addTerminator = false);
// Never maps a character the code page lacks to a look-alike: it becomes the
// code page's default character.
Text ToAnsi(const WideBytes& bytes, UINT codePage = CP_ACP);

// The text as a wide string for the wide system calls (code page 936).
std::wstring ToWideString(const Text& text);
// Exact conversion to code page 936; false when a character has no exact form.
bool ToAnsiExact(const std::wstring& wide, Text& result);

// Creates every missing level of `path`, outside in; true when it then names a directory.
bool CreateDirectoryPath(const Text& path);
