#include "operations/config_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "app/config_store.h"
#include "app/main_window.h"
#include "tests/support/main_window_fixture.h"

namespace {

using Settings = std::vector<std::pair<Text, Text>>;

const Text kInitialText = "图片=.jpg|.JPG|.png|.PNG\r\n视频=.MOV|.mov|.mp4|.MP4";

struct ParseCase {
    const char* name;
    Text text;
    Settings expected;
};

void PrintTo(const ParseCase& parseCase, std::ostream* out) { *out << parseCase.name; }

class ParseCategoriesTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCategoriesTest, GivesExtensionAndCategoryInWritingOrder) {
    EXPECT_EQ(ParseCategories(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCategoriesTest,
    testing::Values(ParseCase{"InitialText",
                              kInitialText,
                              {{".jpg", "图片"},
                               {".JPG", "图片"},
                               {".png", "图片"},
                               {".PNG", "图片"},
                               {".MOV", "视频"},
                               {".mov", "视频"},
                               {".mp4", "视频"},
                               {".MP4", "视频"}}},
                    ParseCase{"EmptyCategory", "=.raw", {{".raw", ""}}},
                    ParseCase{"CategoryBeforeFirstExtensionsAfterLastMarker", "a=b=c", {{"c", "a"}}},
                    ParseCase{"BlankLinesTrailingBreakAndDoubledBars",
                              "\r\n\r\n文档=.doc||.txt|\r\n\r\n",
                              {{".doc", "文档"}, {".txt", "文档"}}},
                    ParseCase{"LineWithoutMarker", ".jpg||.png|", {}}, ParseCase{"NoExtensions", "文档=", {}},
                    ParseCase{"EmptyText", "", {}},
                    ParseCase{"ExtensionsAsTyped", "图=.Jpg|.jpg|jpg", {{".Jpg", "图"}, {".jpg", "图"}, {"jpg", "图"}}},
                    ParseCase{"SpacesKept", " 图 = .a |.b", {{" .a ", " 图 "}, {".b", " 图 "}}}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

Text WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

HWND Child(HWND window, const char* className) { return FindWindowExA(window, nullptr, className, nullptr); }

RECT ClientRect(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& rect, int left, int top, int width, int height) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

Text Lower(Text text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Every key of the store's section, as written in the file.
std::vector<Text> SectionKeys() {
    std::vector<char> buffer(65536);
    const DWORD length = GetPrivateProfileStringA(BuildDigest.c_str(), nullptr, "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), ConfigFile.c_str());
    std::vector<Text> keys;
    for (size_t start = 0; start < length; start += keys.back().size() + 1) keys.emplace_back(buffer.data() + start);
    return keys;
}

class ConfigWindowTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (HWND config = ConfigWindowHandle()) DestroyWindow(config);
        MainWindowTest::TearDown();
    }

    HWND Open() {
        OpenConfigWindow();
        DrainMessages();
        return ConfigWindowHandle();
    }

    static void Click(HWND config) {
        SendMessageA(Child(config, "Button"), BM_CLICK, 0, 0);
        DrainMessages();
    }
};

TEST_F(ConfigWindowTest, OpensAsLaidOutBesideAUsableMainWindow) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(IsWindowVisible(config));
    EXPECT_EQ(WindowText(config), "配置窗口");
    RECT outer{};
    GetWindowRect(config, &outer);
    ExpectRect(outer, 50, 50, 380, 250);

    const HWND edit = Child(config, "Edit");
    const HWND button = Child(config, "Button");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(button, nullptr);
    ExpectRect(ClientRect(config, edit), 24, 32, 296, 136);
    ExpectRect(ClientRect(config, button), 272, 192, 80, 24);
    EXPECT_EQ(WindowText(edit), kInitialText);
    EXPECT_EQ(WindowText(button), "更新配置");
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE);

    EXPECT_EQ(GetWindowLongA(config, GWL_EXSTYLE) & WS_EX_LAYERED, WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(config, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 225);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));

    EXPECT_EQ(GetWindow(config, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(config), nullptr);
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(ConfigWindowTest, ButtonWritesEveryExtensionAndReportsSuccess) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(ReadSetting(".mp4"), "");
    Click(config);

    EXPECT_EQ(WindowText(config), "写入成功");
    for (const Text key : {".jpg", ".JPG", "  .jpg", ".jPg", ".png", ".PNG"})
        EXPECT_EQ(ReadSetting(key), "图片") << key;
    for (const Text key : {".MOV", ".mov", ".mp4", ".MP4"}) EXPECT_EQ(ReadSetting(key), "视频") << key;

    std::vector<Text> keys = SectionKeys();
    std::transform(keys.begin(), keys.end(), keys.begin(), Lower);
    for (const Text key : {".jpg", ".png", ".mov", ".mp4"})
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
}

TEST_F(ConfigWindowTest, LaterCategoryReplacesAnEarlierOne) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    Click(config);
    SetWindowTextA(Child(config, "Edit"), "文档=.png\r\n=.raw");
    Click(config);
    EXPECT_EQ(ReadSetting(".png"), "文档");
    EXPECT_EQ(ReadSetting(".jpg"), "图片");  // keys are never removed
    const std::vector<Text> keys = SectionKeys();
    EXPECT_NE(std::find(keys.begin(), keys.end(), ".raw"), keys.end());
    EXPECT_EQ(ReadSetting(".raw"), "");
}

TEST_F(ConfigWindowTest, EmptyBoxWritesNothingButStillReportsSuccess) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    SetWindowTextA(Child(config, "Edit"), "");
    const std::vector<Text> before = SectionKeys();
    Click(config);
    EXPECT_EQ(WindowText(config), "写入成功");
    EXPECT_EQ(SectionKeys(), before);
}

TEST_F(ConfigWindowTest, ReadsTextLongerThanAnEditBoxDefaultLimit) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    // A long line without "=" writes nothing; the categories come after it.
    const Text text = Text(70000, 'x') + "\r\n长=.first|.last";
    SetWindowTextA(Child(config, "Edit"), text.c_str());
    ASSERT_EQ(GetWindowTextLengthA(Child(config, "Edit")), static_cast<int>(text.size()));
    Click(config);
    EXPECT_EQ(ReadSetting(".first"), "长");
    EXPECT_EQ(ReadSetting(".last"), "长");
}

TEST_F(ConfigWindowTest, ReopeningAfterCloseStartsFromTheInitialText) {
    HWND config = Open();
    ASSERT_NE(config, nullptr);
    SetWindowTextA(Child(config, "Edit"), "a=.b");
    Click(config);
    SendMessageA(config, WM_CLOSE, 0, 0);
    DrainMessages();
    EXPECT_FALSE(IsWindow(config));
    EXPECT_EQ(ConfigWindowHandle(), nullptr);

    config = Open();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(WindowText(config), "配置窗口");
    EXPECT_EQ(WindowText(Child(config, "Edit")), kInitialText);
}

TEST_F(ConfigWindowTest, OpeningAgainBringsTheSameWindowForwardUnchanged) {
    const HWND config = Open();
    ASSERT_NE(config, nullptr);
    SetWindowTextA(Child(config, "Edit"), "a=.b");
    Click(config);
    SetWindowTextA(Child(config, "Edit"), "edited");
    SetActiveWindow(window_);

    EXPECT_EQ(Open(), config);
    EXPECT_EQ(GetActiveWindow(), config);
    EXPECT_EQ(WindowText(config), "写入成功");
    EXPECT_EQ(WindowText(Child(config, "Edit")), "edited");

    ShowWindow(config, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(config));
    EXPECT_EQ(Open(), config);
    EXPECT_FALSE(IsIconic(config));
    EXPECT_EQ(WindowText(Child(config, "Edit")), "edited");
}

TEST_F(ConfigWindowTest, MenuItemOpensTheWindow) {
    ASSERT_EQ(ConfigWindowHandle(), nullptr);
    SendMessageA(window_, WM_COMMAND, IDM_CONFIG, 0);
    DrainMessages();
    const HWND config = ConfigWindowHandle();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(WindowText(config), "配置窗口");
}

}  // namespace
