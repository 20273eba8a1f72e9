#include "sources/load_subdirectories.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "app/main_window.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// Answers the next folder chooser this thread opens: selects `folder` and
// presses OK, or presses Cancel when `folder` is empty. A thread timer finds
// the chooser from inside its own modal loop.
class ChooserAnswer {
public:
    explicit ChooserAnswer(const Text& folder) : folder_(Wide(folder)), leaf_(folder.substr(folder.rfind('\\') + 1)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~ChooserAnswer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ChooserAnswer(const ChooserAnswer&) = delete;
    ChooserAnswer& operator=(const ChooserAnswer&) = delete;

    bool answered = false;
    bool titleShown = false;
    bool owned = true;
    bool mainWindowEnabled = false;
    int attempts = 0;
    Text selected;

private:
    static std::wstring Wide(const Text& text) {
        std::wstring wide(MAX_PATH, L'\0');
        wide.resize(std::max(0, MultiByteToWideChar(936, 0, text.c_str(), -1, wide.data(), MAX_PATH) - 1));
        return wide;
    }

    static BOOL CALLBACK FindChooser(HWND window, LPARAM found) {
        char className[64] = {};
        GetClassNameA(window, className, sizeof(className));
        if (Text(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    static BOOL CALLBACK FindTitle(HWND child, LPARAM shown) {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof(text));
        if (Text(text) == "选择总目录") *reinterpret_cast<bool*>(shown) = true;
        return TRUE;
    }

    // Text of the tree item the chooser has selected.
    static Text SelectedItem(HWND chooser) {
        const HWND tree = FindWindowExA(chooser, nullptr, "SysTreeView32", nullptr);
        const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        char text[MAX_PATH] = {};
        TVITEMA data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof(text);
        if (!item || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return {};
        return text;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ChooserAnswer* const self = current_;
        if (!self || self->answered) return;
        HWND chooser = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&chooser));
        if (!chooser) return;
        if (++self->attempts == 1) {
            EnumChildWindows(chooser, FindTitle, reinterpret_cast<LPARAM>(&self->titleShown));
            self->owned = GetWindow(chooser, GW_OWNER) != nullptr;
            self->mainWindowEnabled = IsWindowEnabled(MainWindowHandle());
        }
        if (!self->folder_.empty()) {
            SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->folder_.c_str()));
            self->selected = SelectedItem(chooser);
            if (self->selected != self->leaf_ && self->attempts < 100) return;  // try again on the next tick
        }
        self->answered = true;
        PostMessageW(chooser, WM_COMMAND, self->folder_.empty() ? IDCANCEL : IDOK, 0);
    }

    static inline ChooserAnswer* current_ = nullptr;
    std::wstring folder_;
    Text leaf_;
    UINT_PTR timer_ = 0;
};

class LoadSubdirectoriesTest : public MainWindowTest {
protected:
    void FillRows(int count) {
        for (int i = 0; i < count; ++i) AddDirectoryRow("D:\\old\\" + std::to_string(i));
        ASSERT_EQ(RowCount(), count);
    }

    // Rows as "number|path", in list order.
    static TextArray Rows() {
        TextArray rows;
        for (int row = 0; row < RowCount(); ++row) rows.push_back(CellText(row, 0) + "|" + CellText(row, 1));
        return rows;
    }

    void LoadChoosing(const Text& folder) {
        ChooserAnswer answer(folder);
        LoadSubdirectories();
        DrainMessages();
        ASSERT_TRUE(answer.answered) << "the folder chooser never opened";
        if (!folder.empty()) {
            ASSERT_EQ(answer.selected, folder.substr(folder.rfind('\\') + 1));
        }
        EXPECT_TRUE(answer.titleShown);
        EXPECT_FALSE(answer.owned);
        EXPECT_TRUE(answer.mainWindowEnabled);
    }

    TempDir chosen_;
};

TEST_F(LoadSubdirectoriesTest, ChosenFolderSubdirectoriesReplaceTheRows) {
    for (const Text name : {"一", "two", "three"}) chosen_.MakeDirectory(Text(name));
    chosen_.MakeDirectory("two\\deeper");
    chosen_.MakeFile("file.txt", "x");
    FillRows(10);

    LoadChoosing(chosen_.Path());

    ASSERT_EQ(RowCount(), 3);
    TextArray paths;
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(CellText(row, 0), std::to_string(row + 1));
        EXPECT_EQ(CellText(row, 2), "");
        paths.push_back(CellText(row, 1));
    }
    std::sort(paths.begin(), paths.end());
    TextArray expected{chosen_ / "一", chosen_ / "two", chosen_ / "three"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);
}

TEST_F(LoadSubdirectoriesTest, CancellingKeepsEveryRow) {
    chosen_.MakeDirectory("sub");
    FillRows(10);
    const TextArray before = Rows();
    LoadChoosing("");
    EXPECT_EQ(Rows(), before);
}

TEST_F(LoadSubdirectoriesTest, RowsAreNumberedFromOneWithoutLeadingZeros) {
    for (int i = 0; i < 11; ++i) chosen_.MakeDirectory(Text("d").append(std::to_string(i)));
    FillRows(2);
    LoadChoosing(chosen_.Path());
    ASSERT_EQ(RowCount(), 11);
    for (int row = 0; row < 11; ++row) {
        EXPECT_EQ(CellText(row, 0), std::to_string(row + 1));
        EXPECT_EQ(CellText(row, 1).rfind(chosen_.Path() + "\\d", 0), 0u) << CellText(row, 1);
    }
}

TEST_F(LoadSubdirectoriesTest, FolderWithoutSubdirectoriesEmptiesTheList) {
    chosen_.MakeFile("only-a-file.txt", "x");
    FillRows(3);
    LoadChoosing(chosen_.Path());
    EXPECT_EQ(RowCount(), 0);
}

}  // namespace
