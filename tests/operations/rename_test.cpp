#include "operations/rename.h"

#include <gtest/gtest.h>

// "乗" is 81 5C in code page 936: its second byte is a backslash.
const Text kTrailBackslash = "乗";

TEST(RenameFixture, CharacterEndsInABackslashByte) {
    ASSERT_EQ(kTrailBackslash.size(), 2u);
    EXPECT_EQ(kTrailBackslash[1], '\\');
}

struct PathPartsCase {
    Text path;
    Text directoryPart;
    Text parentName;
};
void PrintTo(const PathPartsCase& c, std::ostream* out) { *out << testing::PrintToString(c.path); }

class PathPartsTest : public testing::TestWithParam<PathPartsCase> {};

TEST_P(PathPartsTest, SplitsAtRealBackslashesOnly) {
    const PathPartsCase c = GetParam();
    EXPECT_EQ(GetDirectoryPart(c.path), c.directoryPart);
    EXPECT_EQ(GetParentName(c.path), c.parentName);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathPartsTest,
                         testing::Values(PathPartsCase{"D:\\photos\\a.jpg", "D:\\photos\\", "photos"},
                                         PathPartsCase{"D:\\photos\\raw\\c.png", "D:\\photos\\raw\\", "raw"},
                                         PathPartsCase{"D:\\a.jpg", "D:\\", "D:"},
                                         PathPartsCase{"\\\\srv\\share\\a.jpg", "\\\\srv\\share\\", "share"},
                                         PathPartsCase{"a.jpg", "", ""}, PathPartsCase{"", "", ""},
                                         PathPartsCase{"D:\\photos\\" + kTrailBackslash + ".jpg", "D:\\photos\\",
                                                       "photos"},
                                         PathPartsCase{"D:\\" + kTrailBackslash + "\\a.jpg",
                                                       "D:\\" + kTrailBackslash + "\\", kTrailBackslash},
                                         PathPartsCase{"D:\\相册" + kTrailBackslash + "x", "D:\\", "D:"}));

struct NewPathCase {
    Text oldPath;
    int number;
    Text extensionOnly;
    Text withFileName;
};
void PrintTo(const NewPathCase& c, std::ostream* out) { *out << testing::PrintToString(c.oldPath); }

class NewPathTest : public testing::TestWithParam<NewPathCase> {};

TEST_P(NewPathTest, NamesTheFileAfterItsDirectory) {
    const NewPathCase c = GetParam();
    EXPECT_EQ(BuildNewPath(c.oldPath, c.number, false), c.extensionOnly);
    EXPECT_EQ(BuildNewPath(c.oldPath, c.number, true), c.withFileName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NewPathTest,
    testing::Values(NewPathCase{"D:\\photos\\a.jpg", 1, "D:\\photos\\photos1.jpg", "D:\\photos\\photos1a.jpg"},
                    NewPathCase{"D:\\photos\\b.JPG", 2, "D:\\photos\\photos2.JPG", "D:\\photos\\photos2b.JPG"},
                    NewPathCase{"D:\\photos\\notes", 3, "D:\\photos\\photos3", "D:\\photos\\photos3notes"},
                    NewPathCase{"D:\\photos\\raw\\c.png", 4, "D:\\photos\\raw\\raw4.png", "D:\\photos\\raw\\raw4c.png"},
                    NewPathCase{"D:\\music\\x.mp3", 1, "D:\\music\\music1.mp3", "D:\\music\\music1x.mp3"},
                    NewPathCase{"D:\\photos\\.nomedia", 12, "D:\\photos\\photos12.nomedia",
                                "D:\\photos\\photos12.nomedia"},
                    NewPathCase{"D:\\2021\\a.tar.gz", 3, "D:\\2021\\20213.gz", "D:\\2021\\20213a.tar.gz"},
                    NewPathCase{"D:\\" + kTrailBackslash + "\\a.jpg", 2,
                                "D:\\" + kTrailBackslash + "\\" + kTrailBackslash + "2.jpg",
                                "D:\\" + kTrailBackslash + "\\" + kTrailBackslash + "2a.jpg"},
                    NewPathCase{"D:\\图片\\" + kTrailBackslash + ".jpg", 1, "D:\\图片\\图片1.jpg",
                                "D:\\图片\\图片1" + kTrailBackslash + ".jpg"}));

struct ValidityCase {
    const char* why;
    Text path;
    bool valid;
};
void PrintTo(const ValidityCase& c, std::ostream* out) { *out << c.why; }

class ValidFilePathTest : public testing::TestWithParam<ValidityCase> {};

TEST_P(ValidFilePathTest, AcceptsOnlyDrivePathsWithAUsableName) {
    const ValidityCase c = GetParam();
    EXPECT_EQ(IsValidFilePath(c.path), c.valid) << c.why << ": " << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ValidFilePathTest,
    testing::Values(
        ValidityCase{"drive path", "D:\\photos\\photos1.jpg", true},
        ValidityCase{"lower-case drive", "d:\\photos\\photos1.jpg", true},
        ValidityCase{"forward slashes", "D:/photos/photos1.jpg", true},
        ValidityCase{"name without extension", "D:\\photos\\photos3", true},
        ValidityCase{"double-byte name with backslash byte", "D:\\photos\\" + kTrailBackslash + ".jpg", true},
        ValidityCase{"empty", "", false}, ValidityCase{"digit for a drive", "1:\\photos\\a.jpg", false},
        ValidityCase{"relative", "photos\\a.jpg", false}, ValidityCase{"UNC", "\\\\srv\\share\\a.jpg", false},
        ValidityCase{"drive-relative", "D:photos\\a.jpg", false}, ValidityCase{"directory", "D:\\photos\\", false},
        ValidityCase{"drive root", "D:\\", false}, ValidityCase{"question mark", "D:\\photos\\a?.jpg", false},
        ValidityCase{"slash ending the name", "D:\\photos\\a/", false},
        ValidityCase{"less than", "D:\\photos\\a<.jpg", false},
        ValidityCase{"greater than", "D:\\photos\\a>.jpg", false}, ValidityCase{"star", "D:\\photos\\a*.jpg", false},
        ValidityCase{"bar", "D:\\photos\\a|.jpg", false},
        ValidityCase{"colon ending the name", "D:\\photos\\a:", false},
        ValidityCase{"double quote", "D:\\photos\\a\".jpg", false},
        ValidityCase{"named after the drive", "D:\\D:1.jpg", false},
        ValidityCase{"colon in a directory", "D:\\ph:otos\\a.jpg", false},
        ValidityCase{"colon in the name", "D:\\photos\\b:a.jpg", false}));

TEST(ForbiddenCharacter, IsFoundOnlyWhereACharacterStarts) {
    EXPECT_FALSE(HasForbiddenCharacter(kTrailBackslash + ".jpg"));
    EXPECT_FALSE(HasForbiddenCharacter(""));
    EXPECT_TRUE(HasForbiddenCharacter(kTrailBackslash + "\\"));
    EXPECT_TRUE(HasForbiddenCharacter("a\\b"));
}
