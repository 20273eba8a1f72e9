#include "toolkit/entry_search.h"

#include "toolkit/paths.h"

namespace {

bool IsDirectory(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The path calls drop a trailing dot or space: "photo." would name "photo".
bool IsAddressable(const Text& name) {
    if (name == "." || name == "..") return true;
    return !name.empty() && name.back() != '.' && name.back() != ' ';
}

}  // namespace

Text EntrySearch::First(const Text& searchPath, Kind kind) {
    kind_ = kind;
    attributes_ = 0;
    handle_.reset();
    handle_.reset(FindFirstFileW(ToWideString(searchPath).c_str(), &data_));
    return Advance(true);
}

Text EntrySearch::Next() { return Advance(false); }

Text EntrySearch::Advance(bool first) {
    bool current = first;
    while (handle_ && (current || FindNextFileW(handle_.get(), &data_))) {
        current = false;
        if (IsDirectory(data_.dwFileAttributes) != (kind_ == Kind::Directories)) continue;
        // A name code page 936 can't hold exactly would reach the caller as a
        // different name; such entries are passed over.
        Text name;
        if (!ToAnsiExact(data_.cFileName, name) || !IsAddressable(name)) continue;
        attributes_ = data_.dwFileAttributes;
        return name;
    }
    handle_.reset();
    attributes_ = 0;
    return {};
}
