#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "operations/config_window.h"
#include "operations/rename.h"
#include "sources/load_subdirectories.h"
#include "toolkit/handle.h"

namespace {

constexpr char kClassName[] = "SorvaneMainWindow";
constexpr char kCaption[] = "Sorvane";
constexpr char kAboutAddress[] = "https://sorvane.example/about";
constexpr int kWindowWidth = 460;
constexpr int kWindowHeight = 470;
constexpr int kListWidth = 472;
constexpr int kListHeight = 440;
constexpr int kProgressWidth = 460;
constexpr int kProgressHeight = 15;
constexpr int kProgressMaximum = 1000;
constexpr int kWindowOpacity = 225;
constexpr int kMenuOffset = 3;
constexpr UINT_PTR kEscapeSubclassId = 1;

struct Column {
    const char* header;
    int width;
};
constexpr Column kColumns[] = {{"序号", 50}, {"列表", 300}, {"更改文件数", 100}};

// Items that start a batch or change the rows: unavailable while a batch runs.
constexpr UINT kBatchLockedCommands[] = {IDM_RENAME, IDM_REMOVE_EMPTY, IDM_CLEAR, IDM_LOAD, IDM_CLASSIFY};

bool IsBatchLocked(UINT command) {
    return std::find(std::begin(kBatchLockedCommands), std::end(kBatchLockedCommands), command) !=
           std::end(kBatchLockedCommands);
}

// The hidden top-level menu "设置"; its popup is the list's context menu.
MenuHandle BuildMenuBar(HMENU& settings) {
    MenuHandle bar(CreateMenu());
    MenuHandle popup(CreatePopupMenu());
    settings = nullptr;
    if (!bar || !popup) return {};
    AppendMenuA(popup.get(), MF_STRING, IDM_RENAME, "遍历开始更名");
    AppendMenuA(popup.get(), MF_STRING, IDM_REMOVE_EMPTY, "遍历删除空目录");
    AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup.get(), MF_STRING, IDM_CLEAR, "清空列表");
    AppendMenuA(popup.get(), MF_STRING | MF_UNCHECKED, IDM_WITH_FILE_NAME, "带文件名");
    AppendMenuA(popup.get(), MF_STRING, IDM_LOAD, "加载子目录");
    AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup.get(), MF_STRING, IDM_CLASSIFY, "遍历一键归类");
    AppendMenuA(popup.get(), MF_STRING, IDM_CONFIG, "分类配置");
    AppendMenuA(popup.get(), MF_STRING, IDM_ABOUT, "关于");
    if (!AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), "设置")) return {};
    settings = popup.release();  // now owned by the bar
    return bar;
}

// Esc in the list closes the main window, as it does when the window itself has the focus.
LRESULT CALLBACK ListEscapeProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageA(GetParent(list), WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListEscapeProcedure, kEscapeSubclassId);
    return DefSubclassProc(list, message, wParam, lParam);
}

HWND mainWindow = nullptr;

class MainWindow {
public:
    explicit MainWindow(HWND window) : window_(window) {}

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static MainWindow* From(HWND window) {
        return window ? reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA)) : nullptr;
    }

    HWND List() const { return list_; }
    HWND Progress() const { return progress_; }
    HMENU Settings() const { return settings_; }

    void BeginBatch();
    void EndBatch();
    bool BatchRunning() const { return batchDepth_ > 0; }
    bool StopRequested() const { return stopRequested_; }

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnCommand(UINT command);
    LRESULT OnNotify(const NMHDR& header);
    void OnKeyDown(UINT key);
    void OnClose();
    void OnDestroy();

    HWND CreateDirectoryList();
    HWND CreateProgressBar();
    void ShowSettingsMenu();
    void EnableBatchLockedItems(bool enabled);

    HWND window_;
    HWND list_ = nullptr;
    HWND progress_ = nullptr;
    MenuHandle menuBar_;
    HMENU settings_ = nullptr;
    int batchDepth_ = 0;
    bool stopRequested_ = false;
};

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto object = std::make_unique<MainWindow>(window);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object.release()));
        }
        MainWindow* const self = From(window);
        if (message == WM_NCDESTROY) {
            const std::unique_ptr<MainWindow> owned(self);
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            return DefWindowProcA(window, message, wParam, lParam);
        }
        if (!self) return DefWindowProcA(window, message, wParam, lParam);
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // No exception may unwind into the system's code; a failed creation stops it cleanly.
        return message == WM_NCCREATE ? FALSE : message == WM_CREATE ? -1 : 0;
    }
}

LRESULT MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

bool MainWindow::OnCreate() {
    mainWindow = window_;
    list_ = CreateDirectoryList();
    progress_ = CreateProgressBar();
    menuBar_ = BuildMenuBar(settings_);
    if (!list_ || !progress_ || !menuBar_) return false;
    SetWindowAlpha(window_, kWindowOpacity);
    return true;
}

HWND MainWindow::CreateDirectoryList() {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    // Created first, so it lies above the progress bar; WS_CLIPSIBLINGS keeps the bar from painting over it.
    const HWND list = CreateWindowExA(0, WC_LISTVIEWA, "",
                                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT |
                                          LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                      0, 0, kListWidth, kListHeight, window_, nullptr, instance, nullptr);
    if (!list) return nullptr;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    int index = 0;
    for (const Column& column : kColumns) {
        LVCOLUMNA entry{};
        entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        entry.fmt = LVCFMT_LEFT;
        entry.cx = column.width;
        entry.pszText = const_cast<char*>(column.header);
        entry.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&entry));
    }
    SetWindowSubclass(list, ListEscapeProcedure, kEscapeSubclassId, 0);
    return list;
}

HWND MainWindow::CreateProgressBar() {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    const HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                     kProgressWidth, kProgressHeight, window_, nullptr, instance, nullptr);
    if (!bar) return nullptr;
    SendMessageA(bar, PBM_SETRANGE32, 0, kProgressMaximum);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    return bar;
}

void MainWindow::OnCommand(UINT command) {
    // A command can also arrive as a message sent by another program part, not only from the menu.
    if (BatchRunning() && IsBatchLocked(command)) return;
    switch (command) {
        case IDM_RENAME:
            RenameAfterDirectory();
            break;
        case IDM_CLEAR:
            RemoveAllRows();
            break;
        case IDM_WITH_FILE_NAME: {
            const bool checked = GetMenuState(settings_, IDM_WITH_FILE_NAME, MF_BYCOMMAND) & MF_CHECKED;
            CheckMenuItem(settings_, IDM_WITH_FILE_NAME, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
            break;
        }
        case IDM_LOAD:
            LoadSubdirectories();
            break;
        case IDM_CONFIG:
            OpenConfigWindow();
            break;
        case IDM_ABOUT:
            ShellExecuteA(nullptr, "open", kAboutAddress, nullptr, nullptr, SW_SHOWNORMAL);
            break;
        default:
            break;
    }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == list_ && header.code == NM_RCLICK) {
        ShowSettingsMenu();
        return TRUE;  // handled: the list sends no WM_CONTEXTMENU after it
    }
    return 0;
}

void MainWindow::ShowSettingsMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(settings_, TPM_RIGHTBUTTON, cursor.x + kMenuOffset, cursor.y + kMenuOffset, 0, window_, nullptr);
}

void MainWindow::OnKeyDown(UINT key) {
    if (key == VK_ESCAPE) PostMessageA(window_, WM_CLOSE, 0, 0);
}

void MainWindow::OnClose() {
    // The running operation notices the request after its current file; EndBatch then closes.
    if (BatchRunning()) {
        stopRequested_ = true;
        return;
    }
    DestroyWindow(window_);
}

void MainWindow::OnDestroy() {
    if (mainWindow == window_) mainWindow = nullptr;
    PostQuitMessage(0);
}

void MainWindow::EnableBatchLockedItems(bool enabled) {
    for (const UINT command : kBatchLockedCommands)
        EnableMenuItem(settings_, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::BeginBatch() {
    if (batchDepth_++ == 0) EnableBatchLockedItems(false);
}

void MainWindow::EndBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) return;
    EnableBatchLockedItems(true);
    // Frees this object (WM_NCDESTROY): nothing may touch a member after it.
    if (stopRequested_) DestroyWindow(window_);
}

MainWindow* Current() { return MainWindow::From(mainWindow); }

HWND CurrentList() {
    const MainWindow* const window = Current();
    return window ? window->List() : nullptr;
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    const HWND window =
        CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                        kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

HWND MainWindowHandle() { return mainWindow; }
HWND DirectoryListHandle() { return CurrentList(); }

HWND ProgressBarHandle() {
    const MainWindow* const window = Current();
    return window ? window->Progress() : nullptr;
}

HMENU SettingsMenuHandle() {
    const MainWindow* const window = Current();
    return window ? window->Settings() : nullptr;
}

int RowCount() {
    const HWND list = CurrentList();
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

Text CellText(int row, int column) {
    const HWND list = CurrentList();
    if (!list) return {};
    std::vector<char> buffer(512);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length =
            static_cast<size_t>(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        // A text that filled the buffer may have been cut: ask again with more room.
        if (length + 1 < buffer.size()) return Text(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

void SetCellText(int row, int column, const Text& text) {
    const HWND list = CurrentList();
    if (!list) return;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void RemoveAllRows() {
    if (const HWND list = CurrentList()) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

int AppendRow() {
    const HWND list = CurrentList();
    if (!list) return -1;
    char empty[] = "";
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = empty;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetListTop(int top) {
    const HWND list = CurrentList();
    if (!list) return;
    RECT bounds{};
    GetWindowRect(list, &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(list), reinterpret_cast<POINT*>(&bounds), 2);
    SetWindowPos(list, nullptr, bounds.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetCaption(const Text& caption) {
    if (mainWindow) SetWindowTextA(mainWindow, caption.c_str());
}

void SetProgress(int position) {
    if (const HWND bar = ProgressBarHandle())
        SendMessageA(bar, PBM_SETPOS, std::clamp(position, 0, kProgressMaximum), 0);
}

bool WithFileName() {
    const HMENU menu = SettingsMenuHandle();
    return menu && (GetMenuState(menu, IDM_WITH_FILE_NAME, MF_BYCOMMAND) & MF_CHECKED);
}

void AddDirectoryRow(const Text& path) {
    const int row = AppendRow();
    if (row < 0) return;
    SetCellText(row, 0, std::to_string(row + 1));
    SetCellText(row, 1, path);
}

void SetWindowAlpha(HWND window, int opacity) {
    SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(std::clamp(opacity, 0, 255)), LWA_ALPHA);
}

void BeginBatch() {
    if (MainWindow* const window = Current()) window->BeginBatch();
}

void EndBatch() {
    if (MainWindow* const window = Current()) window->EndBatch();
}

bool IsBatchRunning() {
    const MainWindow* const window = Current();
    return window && window->BatchRunning();
}

bool BatchStopRequested() {
    const MainWindow* const window = Current();
    return window && window->StopRequested();
}
