#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "sources/load_subdirectories.h"
#include "tests/support/file_system_tools.h"
#include "tests/support/temp_dir.h"

namespace {

TextArray Sorted(TextArray array) {
    std::sort(array.begin(), array.end());
    return array;
}

// A folder holding plain, nested, hidden and system subdirectories and some files.
class ListSubdirectoriesTest : public testing::Test {
protected:
    void SetUp() override {
        root_.MakeDirectory("alpha");
        root_.MakeDirectory("beta\\inner");
        root_.MakeDirectory("hidden");
        root_.MakeDirectory("system");
        root_.MakeDirectory("图片");
        root_.MakeFile("file.txt", "x");
        root_.MakeFile("beta\\nested.txt", "x");
        root_.MakeFile("noext");
        SetFileAttributesA((root_ / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((root_ / "system").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(GetFileAttributesA((root_ / "hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(GetFileAttributesA((root_ / "system").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    }

    TempDir root_;
};

TEST_F(ListSubdirectoriesTest, ListsImmediateSubdirectoriesOnly) {
    const Text base = root_.Path();
    const TextArray names{"alpha", "beta", "hidden", "system", "图片"};
    TextArray withPath;
    for (const Text& name : names) withPath.push_back(base + "\\" + name);

    struct Case {
        Text directory;
        bool withPath;
        TextArray expected;
    };
    for (const Case& c : {Case{base, true, withPath}, Case{base + "\\", true, withPath}, Case{base, false, names},
                          Case{base + "\\", false, names}}) {
        TextArray results;
        EXPECT_EQ(ListSubdirectories(c.directory, results, c.withPath), 5) << c.directory;
        EXPECT_EQ(Sorted(results), Sorted(c.expected)) << c.directory << " withPath " << c.withPath;
    }
}

TEST_F(ListSubdirectoriesTest, AppendsToWhatTheArrayHolds) {
    TextArray results{"earlier", "rows"};
    EXPECT_EQ(ListSubdirectories(root_.Path(), results), 7);
    EXPECT_EQ(results[0], "earlier");
    EXPECT_EQ(results[1], "rows");
    EXPECT_EQ(Sorted(TextArray(results.begin() + 2, results.end())),
              Sorted({"alpha", "beta", "hidden", "system", "图片"}));
}

TEST_F(ListSubdirectoriesTest, MissingOrEmptyDirectoryAddsNothing) {
    for (const Text& directory : {root_ / "missing", root_ / "file.txt", root_ / "alpha", Text()}) {
        TextArray results{"kept"};
        EXPECT_EQ(ListSubdirectories(directory, results, true), 1) << directory;
        EXPECT_EQ(results, TextArray{"kept"});
    }
}

// A name ending in a double-byte character whose second byte is 0x5C still
// needs its own backslash before the subdirectory's name.
TEST(ListSubdirectories, FolderEndingInDoubleByteCharacterWithBackslashTrail) {
    TempDir root;
    const Text folder = "\x81\x5C";
    root.MakeDirectory(folder + "\\inner");
    ASSERT_TRUE(DirectoryExists(root / (folder + "\\inner")));
    TextArray results;
    EXPECT_EQ(ListSubdirectories(root / folder, results, true), 1);
    EXPECT_EQ(results, TextArray{root / (folder + "\\inner")});
}

TEST(ListSubdirectories, DriveRootGetsExactlyOneBackslash) {
    TextArray results;
    ASSERT_GT(ListSubdirectories("C:\\", results, true), 0);
    TextArray again;
    ListSubdirectories("C:", again, true);
    EXPECT_EQ(again, results);
    bool windows = false;
    for (const Text& entry : results) {
        EXPECT_EQ(entry.rfind("C:\\", 0), 0u) << entry;
        EXPECT_EQ(entry.find('\\', 3), Text::npos) << entry;
        Text lower = entry;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        windows = windows || lower == "c:\\windows";
    }
    EXPECT_TRUE(windows);
}

// A linked folder would take batch operations outside the chosen tree.
TEST(ListSubdirectories, LinkedFolderIsNotListed) {
    TempDir outside;
    outside.MakeFile("target\\precious.txt", "data");
    TempDir root;
    root.MakeDirectory("real");
    const DirectoryLink link(outside / "target", root / "link");
    if (!link.Made()) GTEST_SKIP() << "no way to make a directory symlink here (needs Wine and /bin/ln)";
    const DWORD attributes = GetFileAttributesA((root / "link").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);

    TextArray results;
    EXPECT_EQ(ListSubdirectories(root.Path(), results, true), 1);
    EXPECT_EQ(results, TextArray{root / "real"});
}

}  // namespace
