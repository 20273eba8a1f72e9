#include "toolkit/enumerate.h"

#include <windows.h>

#include "toolkit/entry_search.h"

namespace {

void ListFiles(const Text& directory, const TextArray& pieces, TextArray& results, bool withPath) {
    EntrySearch search;
    for (const Text& piece : pieces) {
        for (Text name = search.First(directory + piece, EntrySearch::Kind::Files); !name.empty();
             name = search.Next()) {
            results.push_back(withPath ? directory + name : name);
            PumpMessages();
        }
    }
}

// One level: its own files first, then each subdirectory's subtree.
void Walk(const Text& directory, const TextArray& pieces, TextArray& results, bool withPath, bool recursive) {
    Text base = directory;
    if (!EndsWithBackslash(base)) base += '\\';
    ListFiles(base, pieces, results, withPath);
    if (!recursive) return;
    EntrySearch search;
    for (Text name = search.First(base + "*.*", EntrySearch::Kind::Directories); !name.empty(); name = search.Next()) {
        // A link may lead out of the tree or back into it: never followed.
        if (name == "." || name == ".." || search.IsReparsePoint()) continue;
        Walk(base + name, pieces, results, withPath, true);
        PumpMessages();
    }
}

}  // namespace

int EnumerateFiles(const Text& directory, const Text& patterns, TextArray& results, bool withPath, bool recursive) {
    if (!recursive) results.clear();
    // An empty directory would read as the root of the current drive.
    if (directory.empty()) return static_cast<int>(results.size());
    // Empty pieces are dropped: they would search the bare directory path.
    TextArray pieces;
    SplitText(patterns, "|", pieces);
    Walk(directory, pieces, results, withPath, recursive);
    return static_cast<int>(results.size());
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Taken from the loop that owns it: hand it back, or the program
            // would outlive its window.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
