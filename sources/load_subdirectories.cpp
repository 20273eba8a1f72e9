#include "sources/load_subdirectories.h"

#include <shlobj.h>

#include <array>

#include "app/main_window.h"
#include "toolkit/entry_search.h"
#include "toolkit/handle.h"
#include "toolkit/paths.h"

namespace {

// 260 UTF-16 units: the path and name buffers of the shell calls.
constexpr size_t kPathBytes = 520;
using PathBuffer = std::array<wchar_t, kPathBytes / sizeof(wchar_t)>;

// The file-system path of a chosen item; empty for a virtual folder.
std::wstring ItemPath(const CoTaskMemory& itemList) {
    const LocalMemory buffer(LocalAlloc(LMEM_ZEROINIT, kPathBytes));
    if (!buffer) return {};
    auto* const path = static_cast<wchar_t*>(buffer.get());
    SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(itemList.get()), path);
    return lstrlenW(path) > 0 ? std::wstring(path) : std::wstring();
}

}  // namespace

void LoadSubdirectories() {
    const Text chosen = BrowseForFolder("选择总目录");
    if (chosen.empty()) return;
    RemoveAllRows();
    TextArray subdirectories;
    const int count = ListSubdirectories(chosen, subdirectories, true);
    // The list is empty now, so each row gets its 1-based position.
    for (int i = 0; i < count; ++i) AddDirectoryRow(subdirectories[i]);
}

Text BrowseForFolder(const Text& title) {
    const WideBytes wideTitle = ToWide(title);
    PathBuffer displayName{};
    PathBuffer noSelection{};

    BROWSEINFOW browse{};
    browse.hwndOwner = nullptr;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName.data();
    browse.lpszTitle = wideTitle.empty() ? nullptr : reinterpret_cast<const wchar_t*>(wideTitle.data());
    browse.ulFlags = 0;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(noSelection.data());
    browse.iImage = 0;

    const CoTaskMemory itemList(SHBrowseForFolderW(&browse));
    if (!itemList) return {};
    // A path the text code page cannot hold exactly would name a different
    // folder: treat it like a folder without a file-system path.
    Text answer;
    if (!ToAnsiExact(ItemPath(itemList), answer)) return {};
    return answer;
}

int CALLBACK BrowseCallback(HWND dialog, UINT notification, LPARAM /*parameter*/, LPARAM data) {
    if (notification == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 1;
}

int ListSubdirectories(const Text& directory, TextArray& results, bool withPath) {
    if (directory.empty()) return static_cast<int>(results.size());
    Text folder = directory;
    if (!EndsWithBackslash(folder)) folder += '\\';

    EntrySearch search;
    for (Text name = search.First(folder + "*.*", EntrySearch::Kind::Directories); !name.empty();
         name = search.Next()) {
        if (name == "." || name == "..") continue;
        // A linked folder would let a batch reach files outside the chosen tree.
        if (search.IsReparsePoint()) continue;
        results.push_back(withPath ? folder + name : name);
    }
    return static_cast<int>(results.size());
}
