#include "tests/support/main_window_fixture.h"

#include "app/config_store.h"
#include "app/main_window.h"

void MainWindowTest::SetUp() {
    char exePath[MAX_PATH];
    GetModuleFileNameA(nullptr, exePath, MAX_PATH);
    BuildConfigStore(documents_.Path(), exePath);
    window_ = CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    DrainMessages();
}

void MainWindowTest::TearDown() {
    if (IsWindow(window_)) DestroyWindow(window_);
    DrainMessages();
    ReleaseConfigStore();
}

void MainWindowTest::DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
