#include "operations/rename.h"

#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "operations/batch_frame.h"
#include "toolkit/enumerate.h"
#include "toolkit/paths.h"

namespace {

// Calls `visit(position)` for every character start of `text` until it returns true.
template <typename Visit>
bool AnyCharacter(const Text& text, Visit visit) {
    for (size_t position = 0; position < text.size(); position += CharacterLength(text, position)) {
        if (visit(position)) return true;
    }
    return false;
}

bool HasDriveLetter(const Text& path) {
    if (path.empty()) return false;
    const unsigned char first = static_cast<unsigned char>(path[0]);
    const unsigned char upper = (first >= 'a' && first <= 'z') ? first - ('a' - 'A') : first;
    return upper >= 'A' && upper <= 'Z';
}

// The only colon a valid path may carry is the one after its drive letter.
bool HasStrayColon(const Text& path) {
    return AnyCharacter(path, [&](size_t position) { return position != 1 && path[position] == ':'; });
}

Text ProgressCaption(int done, int total) { return "进度：" + std::to_string(done) + ":" + std::to_string(total); }

// Renames the files of one row; false when a close was asked meanwhile.
bool RenameRow(const Text& directory) {
    TextArray files;
    const int count = EnumerateFiles(directory, "*.*", files, true, true);
    for (int j = 1; j <= count; ++j) {
        if (BatchFrame::ShouldStop()) return false;
        const Text& oldPath = files[j - 1];
        RenameIfValid(oldPath, BuildNewPath(oldPath, j, WithFileName()));
        SetCaption(ProgressCaption(j, count));
    }
    return !BatchFrame::ShouldStop();
}

}  // namespace

Text GetDirectoryPart(const Text& path) {
    const size_t last = FindLast(path, "\\");
    return last == Text::npos ? Text() : path.substr(0, last + 1);
}

Text GetParentName(const Text& path) {
    TextArray pieces;
    const int count = SplitText(path, "\\", pieces);
    return count >= 2 ? pieces[count - 2] : Text();
}

Text BuildNewPath(const Text& oldPath, int number, bool withFileName) {
    return GetDirectoryPart(oldPath) + GetParentName(oldPath) + std::to_string(number) +
           (withFileName ? GetFileName(oldPath, true) : GetExtension(oldPath));
}

bool HasForbiddenCharacter(const Text& name) {
    static constexpr char kForbidden[] = "?/\\<>*|:\"";
    return AnyCharacter(name, [&](size_t position) {
        return Text::traits_type::find(kForbidden, sizeof kForbidden - 1, name[position]) != nullptr;
    });
}

bool IsValidFilePath(const Text& path) {
    if (!HasDriveLetter(path)) return false;
    if (FindFirst(path, ":\\") == Text::npos && FindFirst(path, ":/") == Text::npos) return false;
    if (HasStrayColon(path)) return false;
    const Text name = GetFileName(path, true);
    return !name.empty() && !HasForbiddenCharacter(name);
}

bool RenameIfValid(const Text& oldPath, const Text& newPath) {
    // MoveFileA fails rather than replace a file that already has the new path.
    return IsValidFilePath(newPath) && MoveFileA(oldPath.c_str(), newPath.c_str()) != FALSE;
}

void RenameAfterDirectory() {
    const int rows = RowCount();
    const BatchFrame frame(rows > 1);
    for (int i = 1; i <= rows; ++i) {
        if (BatchFrame::ShouldStop()) return;
        // An emptied row is passed over, but still counts as done.
        if (const auto directory = BatchFrame::RowPath(i - 1)) {
            if (!RenameRow(*directory)) return;
        }
        DelayPumping(10);
        BatchFrame::Step(i, rows);
    }
}
