#include "operations/batch_frame.h"

#include <gtest/gtest.h>

#include "tests/operations/rename_support.h"
#include "tests/support/main_window_fixture.h"

struct ProgressCase {
    int done;
    int total;
    int position;
};
void PrintTo(const ProgressCase& c, std::ostream* out) { *out << c.done << " of " << c.total; }

class ProgressPositionTest : public testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressPositionTest, IsThousandthsTruncated) {
    const ProgressCase c = GetParam();
    EXPECT_EQ(ProgressPosition(c.done, c.total), c.position);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProgressPositionTest,
                         testing::Values(ProgressCase{1, 3, 333}, ProgressCase{2, 3, 666}, ProgressCase{3, 3, 1000},
                                         ProgressCase{1, 1, 1000}, ProgressCase{2, 7, 285}, ProgressCase{0, 4, 0},
                                         ProgressCase{0, 0, 0}));

using BatchFrameTest = MainWindowTest;

TEST_F(BatchFrameTest, BusyLayoutLocksTheRowsUntilTheFrameEnds) {
    {
        const BatchFrame frame(true);
        EXPECT_TRUE(IsBatchRunning());
        EXPECT_EQ(ListTop(), 20);
        for (const UINT item : kBatchItems) EXPECT_FALSE(ItemEnabled(item)) << item;
        for (const UINT item : kFreeItems) EXPECT_TRUE(ItemEnabled(item)) << item;
    }
    EXPECT_FALSE(IsBatchRunning());
    EXPECT_EQ(ListTop(), 0);
    for (const UINT item : kBatchItems) EXPECT_TRUE(ItemEnabled(item)) << item;
}

TEST_F(BatchFrameTest, IdleLayoutStaysButTheListReturnsToTheTopAnyway) {
    SetListTop(20);
    {
        const BatchFrame frame(false);
        EXPECT_TRUE(IsBatchRunning());
        EXPECT_EQ(ListTop(), 20);
    }
    EXPECT_EQ(ListTop(), 0);
}

TEST_F(BatchFrameTest, EmptyOrVanishedRowsHaveNoPath) {
    AddDirectoryRow("C:\\data");
    AddDirectoryRow("");
    EXPECT_EQ(BatchFrame::RowPath(0), Text("C:\\data"));
    EXPECT_EQ(BatchFrame::RowPath(1), std::nullopt);
    EXPECT_EQ(BatchFrame::RowPath(2), std::nullopt);
    RemoveAllRows();
    EXPECT_EQ(BatchFrame::RowPath(0), std::nullopt);
}
