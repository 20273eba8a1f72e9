#include "tests/toolkit/recording_window.h"

#include <stdexcept>

namespace {

constexpr char kClassName[] = "SorvaneRecordingWindow";

}  // namespace

RecordingWindow::RecordingWindow() {
    static const ATOM registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass);
    }();
    if (!registered) throw std::runtime_error("cannot register the recording window");
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create the recording window");
}

RecordingWindow::~RecordingWindow() {
    DestroyWindow(window_);
    DiscardQueuedMessages();
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= WM_APP && message <= 0xBFFF) {
        self->received_.push_back(message);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void DiscardQueuedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool QuitIsQueued(WPARAM& exitCode) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
    exitCode = message.wParam;
    return true;
}
