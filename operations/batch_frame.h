#pragma once
#include <optional>

#include "toolkit/text.h"

// The frame every batch operation runs in. While it lives the batch and list
// menu items are disabled and a close request waits; optionally the list
// moves down to uncover the progress bar. On leaving, the list goes back to
// the top (moved or not) and the batch ends, which closes the window if that
// was asked meanwhile.
class BatchFrame {
public:
    explicit BatchFrame(bool busyLayout);
    ~BatchFrame();
    BatchFrame(const BatchFrame&) = delete;
    BatchFrame& operator=(const BatchFrame&) = delete;

    // Column 1 of `row`, read now; nothing when it is empty (cleared or never
    // set), because an empty directory would stand for the current drive's root.
    static std::optional<Text> RowPath(int row);
    // Progress after `done` of `total` rows, in thousandths.
    static void Step(int done, int total);
    // True once a close was asked: the operation ends after the item it is on.
    static bool ShouldStop();
};

// (done / total) x 1000 in double precision, truncated toward zero; 0 when total is not positive.
int ProgressPosition(int done, int total);
