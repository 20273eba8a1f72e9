#pragma once
#include <windows.h>

#include <vector>

// A hidden message-only window that records the application messages
// (WM_APP and above) dispatched to it, in order.
class RecordingWindow {
public:
    RecordingWindow();
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<UINT>& Received() const { return received_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<UINT> received_;
};

// Removes whatever the thread's queue holds, a quit message included, without dispatching it.
void DiscardQueuedMessages();
// The quit message waiting in the thread's queue, left queued; false when there is none.
bool QuitIsQueued(WPARAM& exitCode);
