#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/toolkit/recording_window.h"
#include "toolkit/enumerate.h"
#include "toolkit/text.h"

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds one DelayPumping call takes.
double TimedDelay(int milliseconds) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    EXPECT_TRUE(DelayPumping(milliseconds));
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

class Pumping : public testing::Test {
protected:
    void SetUp() override { DiscardQueuedMessages(); }
    void TearDown() override { DiscardQueuedMessages(); }
    RecordingWindow window_;
};

TEST_F(Pumping, DelayWaitsAboutTheGivenTime) {
    const double elapsed = TimedDelay(10);
    EXPECT_GE(elapsed, 9.0);
    EXPECT_LT(elapsed, 500.0);
}

TEST_F(Pumping, DelayDispatchesMessagesQueuedBeforeIt) {
    PostMessageA(window_.Handle(), kFirst, 0, 0);
    PostMessageA(window_.Handle(), kSecond, 0, 0);
    DelayPumping(10);
    EXPECT_EQ(window_.Received(), (std::vector<UINT>{kFirst, kSecond}));
}

// Posts one message to the window from the timer-queue thread.
void CALLBACK PostFromTimer(void* window, BOOLEAN) { PostMessageA(static_cast<HWND>(window), kFirst, 0, 0); }

TEST_F(Pumping, DelayDispatchesMessagesArrivingDuringTheWait) {
    HANDLE timer = nullptr;
    ASSERT_TRUE(CreateTimerQueueTimer(&timer, nullptr, PostFromTimer, window_.Handle(), 5, 0, WT_EXECUTEONLYONCE));
    DelayPumping(200);
    DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(window_.Received(), (std::vector<UINT>{kFirst}));
}

TEST_F(Pumping, DelayLeavesAQuitMessageQueuedAndStillWaits) {
    PostQuitMessage(7);
    PostMessageA(window_.Handle(), kFirst, 0, 0);
    const double elapsed = TimedDelay(10);
    EXPECT_GE(elapsed, 9.0);
    EXPECT_EQ(window_.Received(), (std::vector<UINT>{kFirst}));
    WPARAM exitCode = 0;
    ASSERT_TRUE(QuitIsQueued(exitCode));
    EXPECT_EQ(exitCode, 7u);
}

TEST_F(Pumping, PumpDispatchesEverythingQueued) {
    PostMessageA(window_.Handle(), kFirst, 0, 0);
    PostMessageA(window_.Handle(), kSecond, 0, 0);
    PumpMessages();
    EXPECT_EQ(window_.Received(), (std::vector<UINT>{kFirst, kSecond}));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Pumping, PumpPostsATakenQuitMessageAgain) {
    PostQuitMessage(3);
    PostMessageA(window_.Handle(), kFirst, 0, 0);
    PumpMessages();
    EXPECT_EQ(window_.Received(), (std::vector<UINT>{kFirst}));
    WPARAM exitCode = 0;
    ASSERT_TRUE(QuitIsQueued(exitCode));
    EXPECT_EQ(exitCode, 3u);
    PumpMessages();  // a second pump neither loops nor loses it
    EXPECT_TRUE(QuitIsQueued(exitCode));
}

}  // namespace
