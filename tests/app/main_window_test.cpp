#include "app/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/main_window_fixture.h"

namespace {

// Dispatches what is queued; true when a quit message was among it.
bool PumpSeeingQuit() {
    bool quit = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quit;
}

RECT ChildRect(HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right, right);
    EXPECT_EQ(actual.bottom, bottom);
}

using MainWindowFrameTest = MainWindowTest;

TEST_F(MainWindowFrameTest, IsAFixedTranslucentWindowCentredOnTheScreen) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 460);
    EXPECT_EQ(outer.bottom - outer.top, 470);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 460) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 470) / 2);

    const LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(GetMenu(window_), nullptr);
    EXPECT_EQ(GetClassLongPtrA(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);

    char caption[64] = {};
    GetWindowTextA(window_, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Sorvane");

    // Layered alone; the system itself keeps the edge bit of a captioned window.
    EXPECT_EQ(GetWindowLongPtrA(window_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 225);
    EXPECT_TRUE(flags & LWA_ALPHA);
}

TEST_F(MainWindowFrameTest, ListCoversTheProgressBarUntilItsTopEdgeMovesDown) {
    const HWND list = DirectoryListHandle();
    const HWND bar = ProgressBarHandle();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(bar, nullptr);
    ExpectRect(ChildRect(list), 0, 0, 472, 440);
    ExpectRect(ChildRect(bar), 0, 0, 460, 15);
    EXPECT_EQ(ChildWindowFromPointEx(window_, POINT{10, 5}, CWP_SKIPINVISIBLE), list);

    SetListTop(20);
    ExpectRect(ChildRect(list), 0, 20, 472, 460);
    EXPECT_EQ(ChildWindowFromPointEx(window_, POINT{10, 5}, CWP_SKIPINVISIBLE), bar);

    SetListTop(0);
    ExpectRect(ChildRect(list), 0, 0, 472, 440);
    EXPECT_EQ(ChildWindowFromPointEx(window_, POINT{10, 5}, CWP_SKIPINVISIBLE), list);
}

TEST_F(MainWindowFrameTest, ListIsASingleSelectionReportWithThreeColumns) {
    const HWND list = DirectoryListHandle();
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_FALSE(style & (LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER | LVS_SORTASCENDING | LVS_SORTDESCENDING));
    const LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_FALSE(extended & (LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES));

    const struct {
        const char* header;
        int width;
    } expected[] = {{"序号", 50}, {"列表", 300}, {"更改文件数", 100}};
    for (int index = 0; index < 3; ++index) {
        char header[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = sizeof(header);
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, expected[index].header);
        EXPECT_EQ(column.cx, expected[index].width);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    LVCOLUMNA fourth{};
    fourth.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&fourth)));
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(MainWindowFrameTest, ProgressBarRunsFromZeroToAThousandAndClamps) {
    const HWND bar = ProgressBarHandle();
    const LONG_PTR style = GetWindowLongPtrA(bar, GWL_STYLE);
    EXPECT_FALSE(style & (PBS_SMOOTH | PBS_VERTICAL | WS_BORDER));
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 1000);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);

    const struct {
        int requested;
        int shown;
    } cases[] = {{333, 333}, {1000, 1000}, {1500, 1000}, {-5, 0}, {666, 666}};
    for (const auto& step : cases) {
        SetProgress(step.requested);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), step.shown) << step.requested;
    }
}

// Text of an item, or "-" for a separator.
std::string ItemText(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return "?";
    if (info.fType & MFT_SEPARATOR) return "-";
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowFrameTest, SettingsMenuHoldsTheCommandsInOrder) {
    const HMENU menu = SettingsMenuHandle();
    ASSERT_NE(menu, nullptr);
    const struct {
        const char* text;
        UINT id;
    } expected[] = {{"遍历开始更名", IDM_RENAME},
                    {"遍历删除空目录", IDM_REMOVE_EMPTY},
                    {"-", 0},
                    {"清空列表", IDM_CLEAR},
                    {"带文件名", IDM_WITH_FILE_NAME},
                    {"加载子目录", IDM_LOAD},
                    {"-", 0},
                    {"遍历一键归类", IDM_CLASSIFY},
                    {"分类配置", IDM_CONFIG},
                    {"关于", IDM_ABOUT}};
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(expected)));
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(ItemText(menu, position), expected[position].text);
        if (expected[position].id) {
            EXPECT_EQ(GetMenuItemID(menu, position), expected[position].id);
            EXPECT_EQ(GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
        }
    }
}

TEST_F(MainWindowFrameTest, FileNameItemTogglesItsCheckMark) {
    EXPECT_FALSE(WithFileName());
    SendMessageA(window_, WM_COMMAND, IDM_WITH_FILE_NAME, 0);
    EXPECT_TRUE(WithFileName());
    EXPECT_TRUE(GetMenuState(SettingsMenuHandle(), IDM_WITH_FILE_NAME, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageA(window_, WM_COMMAND, IDM_WITH_FILE_NAME, 0);
    EXPECT_FALSE(WithFileName());
}

using DirectoryRowsTest = MainWindowTest;

TEST_F(DirectoryRowsTest, RowsAreNumberedFromOneAgainAfterClearing) {
    AddDirectoryRow("D:\\照片\\2021");
    AddDirectoryRow("D:\\a");
    AddDirectoryRow("D:\\a");
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(CellText(0, 0), "1");
    EXPECT_EQ(CellText(1, 0), "2");
    EXPECT_EQ(CellText(2, 0), "3");
    EXPECT_EQ(CellText(0, 1), "D:\\照片\\2021");
    EXPECT_EQ(CellText(2, 2), "");

    AddDirectoryRow("E:\\other");
    EXPECT_EQ(CellText(3, 0), "4");
    EXPECT_EQ(CellText(3, 1), "E:\\other");

    SendMessageA(window_, WM_COMMAND, IDM_CLEAR, 0);
    EXPECT_EQ(RowCount(), 0);
    AddDirectoryRow("F:\\x");
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(CellText(0, 0), "1");
}

TEST_F(DirectoryRowsTest, CellsHoldTextsOfAnyLength) {
    const int row = AppendRow();
    ASSERT_EQ(row, 0);
    const Text longText = "D:\\" + std::string(3000, 'x') + "\\目录";
    SetCellText(row, 1, longText);
    SetCellText(row, 2, "ok");
    EXPECT_EQ(CellText(row, 1), longText);
    EXPECT_EQ(CellText(row, 2), "ok");
    EXPECT_EQ(CellText(row, 0), "");
}

TEST_F(DirectoryRowsTest, CaptionCanBeReplaced) {
    SetCaption("进度：1/2");
    char caption[64] = {};
    GetWindowTextA(window_, caption, sizeof(caption));
    EXPECT_STREQ(caption, "进度：1/2");
}

class EscapeTest : public MainWindowTest, public testing::WithParamInterface<bool> {};

TEST_P(EscapeTest, EscapeClosesTheWindowAndEndsTheLoop) {
    const HWND target = GetParam() ? DirectoryListHandle() : window_;
    SendMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpSeeingQuit());
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(MainWindowHandle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(InListOrWindow, EscapeTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "List" : "Window"; });

using BatchStateTest = MainWindowTest;

TEST_F(BatchStateTest, BatchDisablesExactlyTheItemsThatStartABatchOrChangeTheRows) {
    const HMENU menu = SettingsMenuHandle();
    const UINT locked[] = {IDM_RENAME, IDM_REMOVE_EMPTY, IDM_CLEAR, IDM_LOAD, IDM_CLASSIFY};
    const UINT free[] = {IDM_WITH_FILE_NAME, IDM_CONFIG, IDM_ABOUT};
    auto grayed = [menu](UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };

    BeginBatch();
    EXPECT_TRUE(IsBatchRunning());
    for (const UINT id : locked) EXPECT_TRUE(grayed(id)) << id;
    for (const UINT id : free) EXPECT_FALSE(grayed(id)) << id;

    AddDirectoryRow("D:\\a");
    SendMessageA(window_, WM_COMMAND, IDM_CLEAR, 0);
    EXPECT_EQ(RowCount(), 1);  // a sent command is refused as well
    SendMessageA(window_, WM_COMMAND, IDM_WITH_FILE_NAME, 0);
    EXPECT_TRUE(WithFileName());

    EndBatch();
    EXPECT_FALSE(IsBatchRunning());
    for (const UINT id : locked) EXPECT_FALSE(grayed(id)) << id;
    SendMessageA(window_, WM_COMMAND, IDM_CLEAR, 0);
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(BatchStateTest, CloseDuringABatchWaitsForItsEnd) {
    BeginBatch();
    EXPECT_FALSE(BatchStopRequested());
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(PumpSeeingQuit());
    ASSERT_TRUE(IsWindow(window_));
    EXPECT_TRUE(BatchStopRequested());

    EndBatch();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpSeeingQuit());
}

TEST_F(BatchStateTest, CloseAfterTheBatchClosesAtOnce) {
    BeginBatch();
    EndBatch();
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpSeeingQuit());
}

TEST_F(BatchStateTest, ControlOperationsWithoutAWindowDoNothing) {
    DestroyWindow(window_);
    DrainMessages();
    EXPECT_EQ(MainWindowHandle(), nullptr);
    EXPECT_EQ(DirectoryListHandle(), nullptr);
    EXPECT_EQ(AppendRow(), -1);
    AddDirectoryRow("D:\\a");
    SetCellText(0, 1, "x");
    SetListTop(20);
    SetProgress(500);
    SetCaption("x");
    RemoveAllRows();
    BeginBatch();
    EndBatch();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(CellText(0, 1), "");
    EXPECT_FALSE(WithFileName());
    EXPECT_FALSE(IsBatchRunning());
    EXPECT_FALSE(BatchStopRequested());
}

// Watches the main window while its popup menu is tracked, and closes the
// menu as soon as the menu loop waits for the user.
struct MenuWatch {
    bool initialized = false;
    bool shown = false;
    bool ended = false;
    RECT popup{};
};

LRESULT CALLBACK WatchMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& watch = *reinterpret_cast<MenuWatch*>(data);
    if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == SettingsMenuHandle())
        watch.initialized = true;
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !watch.ended) {
        const HWND popup = FindWindowA("#32768", nullptr);
        if (popup && IsWindowVisible(popup)) {
            watch.shown = true;
            GetWindowRect(popup, &watch.popup);
        }
        watch.ended = true;
        EndMenu();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void CALLBACK EndMenuLate(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(MainWindowFrameTest, RightClickOnEmptyListSpaceOpensTheSettingsMenu) {
    MenuWatch watch;
    ASSERT_TRUE(SetWindowSubclass(window_, WatchMenu, 1, reinterpret_cast<DWORD_PTR>(&watch)));
    SetForegroundWindow(window_);
    DrainMessages();

    POINT point{200, 300};  // no rows: all of the list below its header is empty space
    ClientToScreen(DirectoryListHandle(), &point);
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {};
    for (INPUT& click : clicks) click.type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);

    // Should the menu loop never go idle, this timer still ends the menu so the test can fail.
    const UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndMenuLate);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!watch.ended && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        DrainMessages();
    }
    KillTimer(nullptr, timer);
    RemoveWindowSubclass(window_, WatchMenu, 1);

    EXPECT_TRUE(watch.initialized);
    EXPECT_TRUE(watch.shown);
    EXPECT_EQ(watch.popup.left, point.x + 3);
    EXPECT_EQ(watch.popup.top, point.y + 3);
}

}  // namespace
