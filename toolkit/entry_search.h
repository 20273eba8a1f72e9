#pragma once
#include <windows.h>

#include "toolkit/handle.h"
#include "toolkit/text.h"

// One open directory search, returning bare names that pass its filter.
// Names without an exact code page 936 form are passed over, so no caller
// can act on a look-alike name; so are names ending in a dot or a space,
// which the path calls would trim and so resolve to another file.
class EntrySearch {
public:
    enum class Kind { Files, Directories };

    // Opens a search on `searchPath` (directory + pattern) and returns the first name; empty at the end.
    Text First(const Text& searchPath, Kind kind);
    Text Next();
    // Attributes of the entry last returned.
    DWORD Attributes() const { return attributes_; }
    bool IsReparsePoint() const { return (attributes_ & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

private:
    Text Advance(bool first);
    FindHandle handle_;
    Kind kind_ = Kind::Files;
    DWORD attributes_ = 0;
    WIN32_FIND_DATAW data_{};
};
