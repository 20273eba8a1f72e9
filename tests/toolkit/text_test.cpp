#include "toolkit/text.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(CharacterLength, LeadByteTakesTwoBytes) {
    const Text text = "a图";
    EXPECT_EQ(CharacterLength(text, 0), 1u);
    EXPECT_EQ(CharacterLength(text, 1), 2u);
}

// Code page 936 characters whose second byte is "\" (0x5C) and "|" (0x7C).
const Text kTrailBackslash = "\x81\x5C";
const Text kTrailBar = "\x81\x7C";

TEST(CharacterLength, TrailBytesUsedInTheseTestsBelongToRealCharacters) {
    for (const Text& character : {kTrailBackslash, kTrailBar}) {
        wchar_t wide[4] = {};
        ASSERT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, character.data(), 2, wide, 4), 1);
        EXPECT_GE(wide[0], 0x4E00) << "not a CJK ideograph";
    }
}

struct MarkerCase {
    Text text;
    Text marker;
    Text before;
    Text after;
};

class MarkerTable : public testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerTable, BeforeTakesTheFirstAndAfterTheLastOccurrence) {
    EXPECT_EQ(TextBefore(GetParam().text, GetParam().marker), GetParam().before);
    EXPECT_EQ(TextAfter(GetParam().text, GetParam().marker), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Text, MarkerTable,
    testing::Values(MarkerCase{"图片=.jpg|.JPG", "=", "图片", ".jpg|.JPG"}, MarkerCase{"a=b=c", "=", "a", "c"},
                    MarkerCase{"=x", "=", "", "x"}, MarkerCase{"x=", "=", "x", ""}, MarkerCase{"abc", "=", "", ""},
                    MarkerCase{"", "=", "", ""}, MarkerCase{".tar.gz", ".", "", "gz"},
                    MarkerCase{".jpg", ".", "", "jpg"}, MarkerCase{"", ".", "", ""},
                    MarkerCase{"aXbxc", "x", "aXb", "c"},                   // letter case matters
                    MarkerCase{"a==b==c", "==", "a", "c"},                  // longer markers
                    MarkerCase{"ab=", "b==", "", ""},                       // a match must fit in the text
                    MarkerCase{"a" + kTrailBackslash + "b", "\\", "", ""},  // a second byte is no marker
                    MarkerCase{"a\\" + kTrailBackslash + "\\b", "\\", "a", "b"},
                    MarkerCase{kTrailBar + "=x", "|", "", ""}));

struct SplitCase {
    Text text;
    Text separator;
    TextArray pieces;
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, KeepsOnlyNonEmptyPiecesAndEmptiesTheArrayFirst) {
    TextArray array{"1", "2", "3", "4", "5"};
    EXPECT_EQ(SplitText(GetParam().text, GetParam().separator, array), static_cast<int>(GetParam().pieces.size()));
    EXPECT_EQ(array, GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Text, SplitTable,
    testing::Values(SplitCase{".jpg|.JPG|.png|.PNG", "|", {".jpg", ".JPG", ".png", ".PNG"}},
                    SplitCase{"a||b|", "|", {"a", "b"}}, SplitCase{"|a||b|", "|", {"a", "b"}}, SplitCase{"|", "|", {}},
                    SplitCase{"abc", "|", {"abc"}}, SplitCase{"", "|", {}},
                    SplitCase{"图片=.jpg\r\n\r\n文档=.doc\r\n", "\r\n", {"图片=.jpg", "文档=.doc"}},
                    SplitCase{"D:\\photos\\2021\\a.jpg", "\\", {"D:", "photos", "2021", "a.jpg"}},
                    SplitCase{"\\\\srv\\share\\a.jpg", "\\", {"srv", "share", "a.jpg"}},
                    SplitCase{" a | b ", "|", {" a ", " b "}},  // pieces are not trimmed
                    SplitCase{"D:\\" + kTrailBackslash + "\\a", "\\", {"D:", kTrailBackslash, "a"}},
                    SplitCase{"x" + kTrailBar + "|y", "|", {"x" + kTrailBar, "y"}}));

}  // namespace
