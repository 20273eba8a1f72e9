#include "operations/config_window.h"

#include <memory>

#include "app/config_store.h"
#include "app/main_window.h"
#include "toolkit/paths.h"

namespace {

constexpr wchar_t kClassName[] = L"SorvaneConfigWindow";
constexpr int kEditId = 1001;
constexpr int kButtonId = 1002;
constexpr char kInitialText[] = "图片=.jpg|.JPG|.png|.PNG\r\n视频=.MOV|.mov|.mp4|.MP4";

// The window's one process-wide trace: its handle, while it exists.
HWND openWindow = nullptr;

class ConfigWindow {
public:
    // Creates the (hidden) window; null on failure.
    static HWND Create();
    // The text of the edit box; empty when the window is closed.
    static Text CategoryText();
    static void SetCaption(const Text& caption);

private:
    static bool RegisterWindowClass(HINSTANCE instance);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ConfigWindow* Bound(HWND window);

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnCommand(int id, int code);

    HWND CreateControl(const wchar_t* className, const Text& text, DWORD style, DWORD exStyle, int id, RECT place);

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

bool ConfigWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kClassName, &existing)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HWND ConfigWindow::Create() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance)) return nullptr;
    // The window takes the object over at WM_NCCREATE and frees it at
    // WM_NCDESTROY; if creation never gets that far, it is freed here.
    auto object = std::make_unique<ConfigWindow>();
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    return CreateWindowExW(0, kClassName, ToWideString("配置窗口").c_str(), style, 50, 50, 380, 250, nullptr, nullptr,
                           instance, &object);
}

ConfigWindow* ConfigWindow::Bound(HWND window) {
    return reinterpret_cast<ConfigWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK ConfigWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ConfigWindow* self = static_cast<std::unique_ptr<ConfigWindow>*>(create->lpCreateParams)->release();
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        openWindow = window;
    }
    ConfigWindow* const self = Bound(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        std::unique_ptr<ConfigWindow> owned(self);
        if (openWindow == window) openWindow = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT ConfigWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

HWND ConfigWindow::CreateControl(const wchar_t* className, const Text& text, DWORD style, DWORD exStyle, int id,
                                 RECT place) {
    const HWND control =
        CreateWindowExW(exStyle, className, ToWideString(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
                        place.top, place.right, place.bottom, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    // The system font of dialogs has the glyphs for Chinese.
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

bool ConfigWindow::OnCreate() {
    edit_ =
        CreateControl(L"EDIT", kInitialText, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                      WS_EX_CLIENTEDGE, kEditId, {24, 32, 296, 136});
    const HWND button =
        CreateControl(L"BUTTON", "更新配置", WS_TABSTOP | BS_PUSHBUTTON, 0, kButtonId, {272, 192, 80, 24});
    if (!edit_ || !button) return false;
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);  // no limit on the category text
    SetWindowAlpha(window_, 225);
    return true;
}

void ConfigWindow::OnCommand(int id, int code) {
    if (id == kButtonId && code == BN_CLICKED) WriteCategories();
}

Text ConfigWindow::CategoryText() {
    if (!openWindow) return {};
    const HWND edit = GetDlgItem(openWindow, kEditId);
    const int length = GetWindowTextLengthW(edit);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(edit, wide.data(), length + 1)));
    // No best-fit: a character code page 936 lacks never becomes a look-alike.
    return ToAnsi(WideBytes(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t)), 936);
}

void ConfigWindow::SetCaption(const Text& caption) {
    if (openWindow) SetWindowTextW(openWindow, ToWideString(caption).c_str());
}

}  // namespace

std::vector<std::pair<Text, Text>> ParseCategories(const Text& categoryText) {
    std::vector<std::pair<Text, Text>> settings;
    TextArray lines;
    TextArray extensions;
    SplitText(categoryText, "\r\n", lines);
    for (const Text& line : lines) {
        const Text category = TextBefore(line, "=");
        SplitText(TextAfter(line, "="), "|", extensions);
        for (const Text& extension : extensions) settings.emplace_back(extension, category);
    }
    return settings;
}

void OpenConfigWindow() {
    if (openWindow) {
        if (IsIconic(openWindow))
            ShowWindow(openWindow, SW_RESTORE);
        else
            SetForegroundWindow(openWindow);
        return;
    }
    const HWND window = ConfigWindow::Create();
    if (!window) return;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

HWND ConfigWindowHandle() { return openWindow; }

void WriteCategories() {
    if (!openWindow) return;
    for (const auto& [extension, category] : ParseCategories(ConfigWindow::CategoryText()))
        WriteSetting(extension, category);
    ConfigWindow::SetCaption("写入成功");
}
