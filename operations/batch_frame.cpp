#include "operations/batch_frame.h"

#include "app/main_window.h"

namespace {
constexpr int kBusyListTop = 20;
}

BatchFrame::BatchFrame(bool busyLayout) {
    BeginBatch();
    if (busyLayout) SetListTop(kBusyListTop);
}

BatchFrame::~BatchFrame() {
    SetListTop(0);
    EndBatch();
}

std::optional<Text> BatchFrame::RowPath(int row) {
    Text path = CellText(row, 1);
    if (path.empty()) return std::nullopt;
    return path;
}

void BatchFrame::Step(int done, int total) { SetProgress(ProgressPosition(done, total)); }

bool BatchFrame::ShouldStop() { return BatchStopRequested(); }

int ProgressPosition(int done, int total) {
    if (total <= 0) return 0;
    const double share = static_cast<double>(done) / static_cast<double>(total);
    return static_cast<int>(share * 1000.0);
}
