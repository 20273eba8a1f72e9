#include "toolkit/enumerate.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "tests/support/file_system_tools.h"
#include "tests/support/temp_dir.h"
#include "tests/toolkit/recording_window.h"
#include "toolkit/handle.h"
#include "toolkit/paths.h"

namespace {

// Names of `directory`'s files or subdirectories in the platform's own search order.
TextArray SearchOrder(const Text& directory, bool directories) {
    TextArray names;
    WIN32_FIND_DATAA data;
    const FindHandle find(FindFirstFileA((directory + "\\*.*").c_str(), &data));
    if (!find) return names;
    do {
        const Text name = data.cFileName;
        const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != "." && name != ".." && isDirectory == directories) names.push_back(name);
    } while (FindNextFileA(find.get(), &data));
    return names;
}

TextArray Sorted(TextArray texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

// D holds files a and b and subdirectories S1 (file c) and S2 (file d and
// subdirectory T with file e).
class WalkOrder : public testing::TestWithParam<Text> {
protected:
    void SetUp() override {
        for (const char* file : {"a", "b", "S1\\c", "S2\\d", "S2\\T\\e"}) tree_.MakeFile(file, file);
    }

    // Files of the root first, then each subdirectory's subtree, in the order the platform lists them.
    TextArray Expected() const {
        TextArray expected;
        for (const Text& file : SearchOrder(tree_.Path(), false)) expected.push_back(tree_ / file);
        for (const Text& sub : SearchOrder(tree_.Path(), true)) {
            if (sub == "S1") expected.push_back(tree_ / "S1\\c");
            if (sub == "S2") {
                expected.push_back(tree_ / "S2\\d");
                expected.push_back(tree_ / "S2\\T\\e");
            }
        }
        return expected;
    }

    TempDir tree_;
};

TEST_P(WalkOrder, ListsFilesBeforeSubdirectoriesDepthFirst) {
    TextArray results;
    EXPECT_EQ(EnumerateFiles(tree_.Path() + GetParam(), "*.*", results, true, true), 5);
    EXPECT_EQ(results, Expected());
}

INSTANTIATE_TEST_SUITE_P(Enumerate, WalkOrder, testing::Values("", "\\"),
                         [](const auto& info) { return info.param.empty() ? "Bare" : "TrailingBackslash"; });

TEST_F(WalkOrder, RecursiveWalkAppendsAfterWhatTheArrayHeld) {
    TextArray results{"x", "y", "z"};
    EXPECT_EQ(EnumerateFiles(tree_.Path(), "*.*", results, true, true), 8);
    const TextArray held(results.begin(), results.begin() + 3);
    EXPECT_EQ(held, (TextArray{"x", "y", "z"}));
    EXPECT_EQ(TextArray(results.begin() + 3, results.end()), Expected());
}

TEST_F(WalkOrder, SingleLevelEmptiesTheArrayFirst) {
    TextArray results{"x", "y", "z"};
    EXPECT_EQ(EnumerateFiles(tree_.Path(), "*.*", results, true, false), 2);
    EXPECT_EQ(Sorted(results), (TextArray{tree_ / "a", tree_ / "b"}));
}

TEST_F(WalkOrder, WithoutPathGivesBareNamesFromEveryLevel) {
    TextArray results;
    EXPECT_EQ(EnumerateFiles(tree_.Path(), "*.*", results, false, true), 5);
    EXPECT_EQ(Sorted(results), (TextArray{"a", "b", "c", "d", "e"}));
}

TEST_F(WalkOrder, EmptyPatternsListNothingButStillWalkEverySubdirectory) {
    const RecordingWindow window;
    // Only the pump after a walked subdirectory can deliver this.
    PostMessageA(window.Handle(), WM_APP + 1, 0, 0);
    TextArray results{"x"};
    EXPECT_EQ(EnumerateFiles(tree_.Path(), "", results, true, true), 1);
    EXPECT_EQ(results, (TextArray{"x"}));
    EXPECT_EQ(window.Received(), (std::vector<UINT>{WM_APP + 1}));
}

TEST_F(WalkOrder, MissingDirectoryGivesNothing) {
    TextArray results{"x"};
    EXPECT_EQ(EnumerateFiles(tree_ / "missing", "*.*", results, true, false), 0);
    EXPECT_TRUE(results.empty());
    results = {"x"};
    EXPECT_EQ(EnumerateFiles(tree_ / "missing", "*.*", results, true, true), 1);
    EXPECT_EQ(results, (TextArray{"x"}));
}

TEST_F(WalkOrder, EmptyDirectoryIsNotTakenForTheDriveRoot) {
    const CurrentDirectoryGuard inside(tree_.Path());
    TextArray results{"x"};
    EXPECT_EQ(EnumerateFiles("", "*.*", results, true, true), 1);
    EXPECT_EQ(results, (TextArray{"x"}));
}

// A directory whose name ends in a character with second byte "\\" still
// gets its separator: its files are listed, not those of its parent.
TEST(EnumerateSeparator, DirectoryEndingInADoubleByteCharacterGetsItsSeparator) {
    const TempDir temp;
    const Text name = "\x81\x5C";
    temp.MakeFile(name + "\\in.txt");
    temp.MakeFile(name + "x.txt");
    TextArray results;
    EXPECT_EQ(EnumerateFiles(temp / name, "*.*", results, true), 1);
    EXPECT_EQ(results, (TextArray{temp / (name + "\\in.txt")}));
    EXPECT_EQ(EnumerateFiles(temp / (name + "\\"), "*.*", results, true), 1);
    EXPECT_EQ(results, (TextArray{temp / (name + "\\in.txt")}));
}

// A character whose second byte is "|" (0x7C).
const Text kTrailBar = "\x81\x7C";

struct PatternCase {
    Text patterns;
    TextArray names;
};

class Patterns : public testing::TestWithParam<PatternCase> {
protected:
    void SetUp() override {
        for (const Text& file : {Text("a.jpg"), Text("b.png"), kTrailBar + ".txt"}) temp_.MakeFile(file);
    }
    TempDir temp_;
};

TEST_P(Patterns, EachPieceIsSearchedInTurn) {
    TextArray results;
    EXPECT_EQ(EnumerateFiles(temp_.Path(), GetParam().patterns, results), static_cast<int>(GetParam().names.size()));
    EXPECT_EQ(results, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Enumerate, Patterns,
                         testing::Values(PatternCase{"*.png|*.jpg", {"b.png", "a.jpg"}},
                                         PatternCase{"*.jpg|a.*", {"a.jpg", "a.jpg"}},
                                         PatternCase{"*.jpg|*.jpg", {"a.jpg", "a.jpg"}}, PatternCase{"", {}},
                                         PatternCase{"|", {}}, PatternCase{"||*.png|", {"b.png"}},
                                         PatternCase{kTrailBar + ".txt", {kTrailBar + ".txt"}}));

// Sets `attributes` and makes sure the platform keeps them.
void SetAttributes(const Text& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
    ASSERT_EQ(GetFileAttributesA(path.c_str()) & attributes, attributes) << path;
}

TEST(EnumerateAttributes, ListsEveryFileAndNoDirectoryAndEntersHiddenDirectories) {
    const TempDir temp;
    for (const char* file : {"plain.txt", "hidden.txt", "system.txt", "readonly.txt", "h.d\\in_hidden.txt",
                             "s.d\\in_system.txt", "open.d\\in_open.txt"})
        temp.MakeFile(file);
    SetAttributes(temp / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(temp / "system.txt", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(temp / "readonly.txt", FILE_ATTRIBUTE_READONLY);
    SetAttributes(temp / "h.d", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    SetAttributes(temp / "s.d", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);

    TextArray results;
    EnumerateFiles(temp.Path(), "*.*", results, false, false);
    EXPECT_EQ(Sorted(results), (TextArray{"hidden.txt", "plain.txt", "readonly.txt", "system.txt"}));
    results.clear();
    EnumerateFiles(temp.Path(), "*.*", results, false, true);
    EXPECT_EQ(Sorted(results), (TextArray{"hidden.txt", "in_hidden.txt", "in_open.txt", "in_system.txt", "plain.txt",
                                          "readonly.txt", "system.txt"}));
}

TEST(EnumerateLinks, DirectoryLinksAreNotEntered) {
    const TempDir tree, outside;
    tree.MakeFile("own.txt");
    outside.MakeFile("foreign.txt");
    const DirectoryLink out(outside.Path(), tree / "out"), loop(tree.Path(), tree / "loop");
    if (!out.Made() || !loop.Made()) GTEST_SKIP() << "no way to make a directory symlink here (needs Wine and /bin/ln)";
    // The links work and are what the platform calls reparse points.
    ASSERT_TRUE(FileExists(tree / "out\\foreign.txt"));
    ASSERT_TRUE(FileExists(tree / "loop\\own.txt"));
    for (const char* link : {"out", "loop"})
        ASSERT_TRUE(GetFileAttributesA((tree / link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) << link;

    TextArray results;
    EXPECT_EQ(EnumerateFiles(tree.Path(), "*.*", results, true, true), 1);
    EXPECT_EQ(results, (TextArray{tree / "own.txt"}));
}

// Creates a file by its wide name holding `content`.
void MakeWideFile(const std::wstring& path, const std::string& content) {
    const KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.get() != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
}

std::string ReadWideFile(const std::wstring& path) {
    const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return "<missing>";
    const KernelHandle file(opened);
    char buffer[64];
    DWORD read = 0;
    ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr);
    return std::string(buffer, read);
}

// Superscript two has no code page 936 form; best fit would read it as "2".
TEST(EnumerateNames, NamesWithoutExactFormArePassedOverAndLeftAlone) {
    const TempDir temp;
    temp.MakeFile("photo2.jpg", "plain");
    temp.MakeFile("album2\\inner.jpg", "inner");
    const std::wstring root = ToWideString(temp.Path());
    MakeWideFile(root + L"\\photo\u00B2.jpg", "odd");
    CreateDirectoryW((root + L"\\album\u00B2").c_str(), nullptr);
    MakeWideFile(root + L"\\album\u00B2\\hidden.jpg", "odd inner");

    TextArray results;
    EXPECT_EQ(EnumerateFiles(temp.Path(), "*.*", results, true, true), 2);
    EXPECT_EQ(Sorted(results), (TextArray{temp / "album2\\inner.jpg", temp / "photo2.jpg"}));

    // A caller acting on every listed path touches only the files it named.
    for (const Text& path : results) EXPECT_TRUE(MoveFileA(path.c_str(), (path + ".done").c_str())) << path;
    EXPECT_EQ(ReadFileBytes(temp / "photo2.jpg.done"), "plain");
    EXPECT_EQ(ReadFileBytes(temp / "album2\\inner.jpg.done"), "inner");
    EXPECT_EQ(ReadWideFile(root + L"\\photo\u00B2.jpg"), "odd");
    EXPECT_EQ(ReadWideFile(root + L"\\album\u00B2\\hidden.jpg"), "odd inner");
}

// Under Wine (and on Windows, through special paths) a name may end in a dot
// or a space, which the path calls trim away: acting on "photo." by its name
// would act on "photo" instead.
TEST(EnumerateNames, NamesEndingInADotOrSpaceArePassedOverAndLeftAlone) {
    const TempDir temp;
    temp.MakeFile("photo", "plain");
    temp.MakeFile("trail", "plain too");
    const LinuxFile dotted(temp / "photo.", "dotted"), spaced(temp / "trail ", "spaced");
    if (!dotted.Made() || !spaced.Made()) GTEST_SKIP() << "no way to make such names here (needs Wine and /bin/sh)";

    TextArray results;
    EXPECT_EQ(EnumerateFiles(temp.Path(), "*.*", results, true, false), 2);
    EXPECT_EQ(Sorted(results), (TextArray{temp / "photo", temp / "trail"}));

    for (const Text& path : results) EXPECT_TRUE(MoveFileA(path.c_str(), (path + ".done").c_str())) << path;
    EXPECT_EQ(ReadFileBytes(temp / "photo.done"), "plain");
    EXPECT_EQ(ReadFileBytes(temp / "trail.done"), "plain too");
    EXPECT_EQ(dotted.Content(), "dotted");
    EXPECT_EQ(spaced.Content(), "spaced");
}

}  // namespace
