// Test entry: refuses to run under a code page other than 936, where every
// "A" call would garble the program's texts.
#include <gtest/gtest.h>
#include <windows.h>
// These need the base types declared first.
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (GetACP() != 936) {
        std::fprintf(stderr, "FATAL: the ANSI code page is %u, not 936; run under LANG=zh_CN.UTF-8.\n", GetACP());
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const HRESULT com = OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(com)) OleUninitialize();
    return result;
}
