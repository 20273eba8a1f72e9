#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/temp_dir.h"

// A live main window over a configuration store in a temporary documents folder.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Dispatches what is queued; drops a quit message so the next test starts clean.
    static void DrainMessages();

    TempDir documents_;
    HWND window_ = nullptr;
};
