#include "toolkit/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "tests/support/file_system_tools.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Bytes(std::initializer_list<unsigned char> values) { return std::string(values.begin(), values.end()); }

struct ExtensionCase {
    Text path;
    Text extension;
};

class GetExtensionTable : public testing::TestWithParam<ExtensionCase> {};

TEST_P(GetExtensionTable, TakesTheDotOfTheLastComponent) {
    EXPECT_EQ(GetExtension(GetParam().path), GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, GetExtensionTable,
    testing::Values(ExtensionCase{"D:\\photos\\a.jpg", ".jpg"}, ExtensionCase{"D:\\photos\\archive.tar.gz", ".gz"},
                    ExtensionCase{"D:\\album.2021\\readme", ""}, ExtensionCase{"D:\\photos\\.nomedia", ".nomedia"},
                    ExtensionCase{"D:\\photos\\name.", "."}, ExtensionCase{"D:\\photos\\file.my doc", ""},
                    ExtensionCase{"D:\\my files\\a.txt", ".txt"}, ExtensionCase{"D:\\图片\\照片.jpg", ".jpg"},
                    ExtensionCase{"", ""}));

struct FileNameCase {
    Text path;
    Text withExtension;
    Text withoutExtension;
};

class GetFileNameTable : public testing::TestWithParam<FileNameCase> {};

TEST_P(GetFileNameTable, TakesTheLastComponent) {
    EXPECT_EQ(GetFileName(GetParam().path, true), GetParam().withExtension);
    EXPECT_EQ(GetFileName(GetParam().path, false), GetParam().withoutExtension);
}

INSTANTIATE_TEST_SUITE_P(Paths, GetFileNameTable,
                         testing::Values(FileNameCase{"D:\\photos\\a.jpg", "a.jpg", "a"},
                                         FileNameCase{"D:\\photos\\archive.tar.gz", "archive.tar.gz", "archive.tar"},
                                         FileNameCase{"D:\\photos\\readme", "readme", "readme"},
                                         FileNameCase{"D:\\photos\\.nomedia", ".nomedia", ""},
                                         FileNameCase{"D:\\photos\\", "", ""}, FileNameCase{"D:\\", "", ""},
                                         FileNameCase{"D:\\photos\\a:b.jpg", "b.jpg", "b"},
                                         FileNameCase{"D:\\图片\\照片.jpg", "照片.jpg", "照片"},
                                         FileNameCase{"", "", ""}));

struct WideCase {
    std::string text;
    bool trim;
    WideBytes wide;
};

class ToWideTable : public testing::TestWithParam<WideCase> {};

TEST_P(ToWideTable, ConvertsFromCodePage936) { EXPECT_EQ(ToWide(GetParam().text, GetParam().trim), GetParam().wide); }

INSTANTIATE_TEST_SUITE_P(Paths, ToWideTable,
                         testing::Values(WideCase{"", false, ""}, WideCase{"", true, ""},
                                         WideCase{"a", false, Bytes({0x61, 0, 0, 0})},
                                         WideCase{Bytes({0xD6, 0xD0}), false, Bytes({0x2D, 0x4E, 0, 0})},
                                         WideCase{"ab", true, Bytes({0x61, 0, 0x62, 0})}));

struct TrimCase {
    WideBytes input;
    bool addTerminator;
    WideBytes result;
};

class TrimWideAtZeroTable : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimWideAtZeroTable, CutsAtTheFirstZeroUnit) {
    EXPECT_EQ(TrimWideAtZero(GetParam().input, GetParam().addTerminator), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TrimWideAtZeroTable,
    testing::Values(TrimCase{Bytes({0x61, 0, 0, 0, 0x62, 0}), false, Bytes({0x61, 0})},
                    TrimCase{Bytes({0x61, 0, 0, 0, 0x62, 0}), true, Bytes({0x61, 0, 0, 0})},
                    TrimCase{Bytes({0, 0, 0x61, 0}), false, ""}, TrimCase{Bytes({0, 0, 0x61, 0}), true, ""},
                    TrimCase{Bytes({0x61}), false, ""}, TrimCase{Bytes({0x61}), true, ""},
                    TrimCase{Bytes({0x61, 0, 0x62}), false, Bytes({0x61, 0})},
                    // A zero byte that is only half of a unit does not cut.
                    TrimCase{Bytes({0x00, 0x4E, 0x61, 0x00}), false, Bytes({0x00, 0x4E, 0x61, 0x00})}));

TEST(ToAnsi, ConvertsWithOrWithoutTerminator) {
    EXPECT_EQ(ToAnsi(""), "");
    EXPECT_EQ(ToAnsi(Bytes({0x2D, 0x4E}), 936), Bytes({0xD6, 0xD0}));
    EXPECT_EQ(ToAnsi(Bytes({0x2D, 0x4E, 0, 0}), 936), Bytes({0xD6, 0xD0}));
    EXPECT_EQ(ToAnsi(Bytes({0x61, 0, 0, 0, 0x62, 0}), 936), "a");
    EXPECT_EQ(ToAnsi(ToWide("D:\\图片\\a.jpg"), 936), "D:\\图片\\a.jpg");
}

// Characters code page 936 lacks, each with a best-fit look-alike the
// platform would otherwise pick: superscript two becomes "2", a capital A
// with grave accent becomes the small one of pinyin.
struct MissingCase {
    std::wstring character;
    Text lookAlike;
};

class MissingCharacter : public testing::TestWithParam<MissingCase> {
protected:
    void SetUp() override {
        char bestFit[8] = {};
        ASSERT_GT(
            WideCharToMultiByte(936, 0, GetParam().character.c_str(), -1, bestFit, sizeof(bestFit), nullptr, nullptr),
            0);
        ASSERT_EQ(Text(bestFit), GetParam().lookAlike) << "the platform no longer best-fits this character";
    }
};

TEST_P(MissingCharacter, ToAnsiGivesTheDefaultCharacterNotTheLookAlike) {
    const std::wstring wide = L"b" + GetParam().character + L"c";
    WideBytes bytes(wide.size() * sizeof(wchar_t), '\0');
    std::memcpy(bytes.data(), wide.data(), bytes.size());
    EXPECT_EQ(ToAnsi(bytes, 936), "b?c");
    EXPECT_EQ(ToAnsi(bytes), "b?c");
}

TEST_P(MissingCharacter, ToAnsiExactRefusesIt) {
    Text result;
    EXPECT_FALSE(ToAnsiExact(L"name" + GetParam().character + L".jpg", result));
}

INSTANTIATE_TEST_SUITE_P(Paths, MissingCharacter,
                         testing::Values(MissingCase{L"\u00B2", "2"}, MissingCase{L"\u00C0", "\xA8\xA4"},
                                         MissingCase{L"\u0100", "\xA8\xA1"}));

TEST(ToAnsiExact, ConvertsExactNames) {
    Text result;
    EXPECT_TRUE(ToAnsiExact(L"图片 a?.jpg", result));
    EXPECT_EQ(result, "图片 a?.jpg");
    result = "stale";
    EXPECT_TRUE(ToAnsiExact(L"", result));
    EXPECT_EQ(result, "");
}

TEST(ToWideString, ConvertsFromCodePage936WithoutTerminator) {
    EXPECT_EQ(ToWideString("D:\\图片\\a.jpg"), L"D:\\图片\\a.jpg");
    EXPECT_EQ(ToWideString(""), L"");
}

// True when `directory` holds no entry at all, files or folders.
bool HoldsNothing(const Text& directory) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool empty = true;
    do {
        const Text name = data.cFileName;
        if (name != "." && name != "..") empty = false;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return empty;
}

TEST(CreateDirectoryPath, CreatesEveryMissingLevel) {
    const TempDir temp;
    EXPECT_TRUE(CreateDirectoryPath(temp / "a\\图片\\c"));
    EXPECT_TRUE(DirectoryExists(temp / "a"));
    EXPECT_TRUE(DirectoryExists(temp / "a\\图片"));
    EXPECT_TRUE(DirectoryExists(temp / "a\\图片\\c"));
}

TEST(CreateDirectoryPath, AcceptsATrailingBackslashAndExistingLevels) {
    const TempDir temp;
    temp.MakeDirectory("a");
    EXPECT_TRUE(CreateDirectoryPath(temp / "a\\b\\"));
    EXPECT_TRUE(DirectoryExists(temp / "a\\b"));
    EXPECT_TRUE(CreateDirectoryPath(temp / "a\\b"));  // all there already
}

TEST(CreateDirectoryPath, NeverCreatesTheFirstLevelOfARelativePath) {
    const TempDir temp;
    const CurrentDirectoryGuard inside(temp.Path());
    EXPECT_FALSE(CreateDirectoryPath("x\\y"));
    EXPECT_FALSE(DirectoryExists(temp / "x"));
    EXPECT_TRUE(HoldsNothing(temp.Path()));
}

TEST(CreateDirectoryPath, FailsWhereALevelIsAFile) {
    const TempDir temp;
    temp.MakeFile("f", "data");
    EXPECT_FALSE(CreateDirectoryPath(temp / "f"));
    EXPECT_FALSE(CreateDirectoryPath(temp / "f\\g"));
    EXPECT_EQ(ReadFileBytes(temp / "f"), "data");
}

TEST(CreateDirectoryPath, EmptyPathCreatesNothing) {
    const TempDir temp;
    const CurrentDirectoryGuard inside(temp.Path());
    EXPECT_FALSE(CreateDirectoryPath(""));
    EXPECT_TRUE(HoldsNothing(temp.Path()));
}

}  // namespace
