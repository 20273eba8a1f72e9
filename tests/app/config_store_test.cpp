#include "app/config_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/temp_dir.h"

namespace {

struct DigestCase {
    std::string bytes;
    const char* digest;
};
void PrintTo(const DigestCase& c, std::ostream* out) { *out << c.digest; }

class Md5HexTest : public testing::TestWithParam<DigestCase> {};

TEST_P(Md5HexTest, GivesTheDigestAsLowercaseHex) { EXPECT_EQ(Md5Hex(GetParam().bytes), GetParam().digest); }

// RFC 1321's test suite, plus a zero byte that a C-string reading would drop.
INSTANTIATE_TEST_SUITE_P(
    ReferenceSuite, Md5HexTest,
    testing::Values(DigestCase{"", "d41d8cd98f00b204e9800998ecf8427e"},
                    DigestCase{"a", "0cc175b9c0f1b6a831c399e269772661"},
                    DigestCase{"abc", "900150983cd24fb0d6963f7d28e17f72"},
                    DigestCase{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
                    DigestCase{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
                    DigestCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                               "d174ab98d277d9f5a5611c2c9f419d9f"},
                    DigestCase{"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
                               "57edf4a22be3c955ac49da2e2107b67a"},
                    DigestCase{std::string(1, '\0'), "93b885adfe0da089cdf634904fd59f71"}));

class BuildConfigStoreTest : public testing::Test {
protected:
    void TearDown() override { ReleaseConfigStore(); }
    TempDir documents_;
};

TEST_F(BuildConfigStoreTest, CreatesTheDirectoryAndWritesTheMarkerUnderTheDigestOfTheExecutable) {
    documents_.MakeFile("tool.exe", "abc");
    BuildConfigStore(documents_.Path(), documents_ / "tool.exe");

    EXPECT_EQ(ConfigDirectory, documents_.Path() + "\\korvex\\soft\\");
    EXPECT_EQ(ConfigFile, documents_.Path() + "\\korvex\\soft\\tool.ini");
    EXPECT_EQ(BuildDigest, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_TRUE(DirectoryExists(ConfigDirectory));

    char value[64] = {};
    GetPrivateProfileStringA("900150983cd24fb0d6963f7d28e17f72", "作者", "", value, sizeof(value), ConfigFile.c_str());
    EXPECT_STREQ(value, "Velmi");
    char sections[256] = {};
    const DWORD length = GetPrivateProfileSectionNamesA(sections, sizeof(sections), ConfigFile.c_str());
    EXPECT_EQ(std::string(sections, length), std::string("900150983cd24fb0d6963f7d28e17f72") + '\0');
}

TEST_F(BuildConfigStoreTest, DropsTrailingBackslashesOfTheDocumentsFolder) {
    documents_.MakeFile("tool.exe", "abc");
    BuildConfigStore(documents_.Path() + "\\\\", documents_ / "tool.exe");
    EXPECT_EQ(ConfigDirectory, documents_.Path() + "\\korvex\\soft\\");
}

TEST_F(BuildConfigStoreTest, KeepsAFolderNameWhoseLastCharacterEndsInTheBackslashByte) {
    // 95 5C is one character in code page 936: its second byte is not a separator.
    const Text folder = documents_ / "\x95\x5C";
    documents_.MakeFile("tool.exe", "abc");
    BuildConfigStore(folder, documents_ / "tool.exe");
    EXPECT_EQ(ConfigDirectory, folder + "\\korvex\\soft\\");
}

TEST_F(BuildConfigStoreTest, AnUnreadableExecutableCountsAsEmptyData) {
    BuildConfigStore(documents_.Path(), documents_ / "missing.exe");
    EXPECT_EQ(BuildDigest, "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(ConfigFile, documents_.Path() + "\\korvex\\soft\\missing.ini");
    EXPECT_EQ(ReadSetting("作者"), "Velmi");
}

TEST_F(BuildConfigStoreTest, ReleaseEmptiesTheValuesAndStopsReadsAndWrites) {
    documents_.MakeFile("tool.exe", "abc");
    BuildConfigStore(documents_.Path(), documents_ / "tool.exe");
    const Text file = ConfigFile;
    ReleaseConfigStore();

    EXPECT_EQ(ConfigDirectory, "");
    EXPECT_EQ(ConfigFile, "");
    EXPECT_EQ(BuildDigest, "");
    EXPECT_EQ(ReadSetting("作者"), "");
    WriteSetting(".jpg", "图片");
    char value[64] = {};
    GetPrivateProfileStringA("", ".jpg", "", value, sizeof(value), file.c_str());
    EXPECT_STREQ(value, "");
}

class ReadSettingTest : public BuildConfigStoreTest {
protected:
    void SetUp() override {
        documents_.MakeFile("tool.exe", "abc");
        BuildConfigStore(documents_.Path(), documents_ / "tool.exe");
    }
};

struct KeyCase {
    const char* name;
    const char* key;
    const char* expected;
};
void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class ReadSettingKeyTest : public ReadSettingTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(ReadSettingKeyTest, FindsTheValueWrittenUnderJpg) {
    WriteSetting(".jpg", "图片");
    EXPECT_EQ(ReadSetting(GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, ReadSettingKeyTest,
                         testing::Values(KeyCase{"same", ".jpg", "图片"}, KeyCase{"upper", ".JPG", "图片"},
                                         KeyCase{"leading space", " .jpg", "图片"},
                                         KeyCase{"leading controls", "\t\r\n .Jpg", "图片"}, KeyCase{"empty", "", ""},
                                         KeyCase{"spaces only", "   ", ""}, KeyCase{"blank", " \t", ""},
                                         KeyCase{"never written", ".png", ""}));

TEST_F(ReadSettingTest, WritingAnotherCaseReplacesTheOneEntry) {
    WriteSetting(".jpg", "图片");
    WriteSetting(".JPG", "照片");
    EXPECT_EQ(ReadSetting(".jpg"), "照片");
}

TEST_F(ReadSettingTest, SettingsOfAnotherBuildStayUnread) {
    WritePrivateProfileStringA("0123456789abcdef0123456789abcdef", ".gif", "动图", ConfigFile.c_str());
    EXPECT_EQ(ReadSetting(".gif"), "");
}

TEST_F(ReadSettingTest, CutsALongValueToTheBuffer) {
    WriteSetting(".txt", std::string(12000, 'x'));
    EXPECT_EQ(ReadSetting(".txt"), std::string(10239, 'x'));
}

}  // namespace
