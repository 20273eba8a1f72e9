#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "app/main_window.h"
#include "operations/rename.h"
#include "tests/operations/rename_support.h"
#include "tests/support/main_window_fixture.h"
#include "toolkit/enumerate.h"

namespace {

// Content -> path relative to the root, for every file: each fixture file has
// distinct content, so this shows where each one went and that none was lost.
std::map<std::string, Text> Snapshot(const TempDir& root) {
    std::map<std::string, Text> where;
    for (const Text& relative : ListTree(root.Path())) {
        const auto [slot, fresh] = where.emplace(ReadFileBytes(root / relative), relative);
        EXPECT_TRUE(fresh) << "two files hold the content of " << relative;
    }
    return where;
}

// The order in which the walk meets the files of a row, relative to `root`.
std::vector<Text> WalkOrder(const TempDir& root, const Text& row) {
    TextArray files;
    EnumerateFiles(root / row, "*.*", files, true, true);
    for (Text& file : files) file.erase(0, root.Path().size() + 1);
    return files;
}

}  // namespace

// Records what the run shows: captions, progress positions, list moves.
class RenameRunTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetWindowSubclass(window_, &RecordCaption, 1, reinterpret_cast<DWORD_PTR>(this));
        SetWindowSubclass(ProgressBarHandle(), &RecordProgress, 1, reinterpret_cast<DWORD_PTR>(this));
        SetWindowSubclass(DirectoryListHandle(), &RecordListMove, 1, reinterpret_cast<DWORD_PTR>(this));
    }

    void TearDown() override {
        if (IsWindow(window_)) {
            RemoveWindowSubclass(window_, &RecordCaption, 1);
            RemoveWindowSubclass(ProgressBarHandle(), &RecordProgress, 1);
            RemoveWindowSubclass(DirectoryListHandle(), &RecordListMove, 1);
        }
        MainWindowTest::TearDown();
    }

    void Run() const { SendMessageA(window_, WM_COMMAND, IDM_RENAME, 0); }
    void ToggleWithFileName() const { SendMessageA(window_, WM_COMMAND, IDM_WITH_FILE_NAME, 0); }
    void AddRow(const Text& relative) const { AddDirectoryRow(root_ / relative); }

    static Text Caption(HWND window) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    TempDir root_;
    std::vector<Text> captions_;
    std::vector<int> positions_;
    std::vector<int> listTops_;
    // Runs inside the walk, right after each caption is shown.
    std::function<void()> onCaption_;

private:
    static LRESULT CALLBACK RecordCaption(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (message == WM_SETTEXT) {
            auto* test = reinterpret_cast<RenameRunTest*>(self);
            test->captions_.push_back(Caption(window));
            if (test->onCaption_) test->onCaption_();
        }
        return result;
    }

    static LRESULT CALLBACK RecordProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
        if (message == PBM_SETPOS) reinterpret_cast<RenameRunTest*>(self)->positions_.push_back(int(wParam));
        return DefSubclassProc(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK RecordListMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
        if (message == WM_WINDOWPOSCHANGED) {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            auto& tops = reinterpret_cast<RenameRunTest*>(self)->listTops_;
            if (!(position->flags & SWP_NOMOVE) && (tops.empty() || tops.back() != position->y))
                tops.push_back(position->y);
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }
};

struct FixtureFile {
    Text folder;      // relative to the root
    Text folderName;  // the directory that directly holds the file
    Text name;
    Text extension;
};

// Two rows as a user would list them: photos holds a subfolder and a file without extension.
const std::vector<FixtureFile> kPhotosAndMusic{
    {"photos", "photos", "a.jpg", ".jpg"},   {"photos", "photos", "b.JPG", ".JPG"}, {"photos", "photos", "notes", ""},
    {"photos\\raw", "raw", "c.png", ".png"}, {"music", "music", "x.mp3", ".mp3"},
};

class RenameModeTest : public RenameRunTest, public testing::WithParamInterface<bool> {};

TEST_P(RenameModeTest, NamesEveryFileAfterItsDirectoryNumberedWithinItsRow) {
    const bool withFileName = GetParam();
    for (const FixtureFile& file : kPhotosAndMusic)
        root_.MakeFile(file.folder + "\\" + file.name, "content of " + file.name);
    AddRow("photos");
    AddRow("music");
    if (withFileName) ToggleWithFileName();
    std::map<Text, int> number;
    for (const char* row : {"photos", "music"}) {
        const std::vector<Text> order = WalkOrder(root_, row);
        for (size_t k = 0; k < order.size(); ++k) number[order[k]] = int(k) + 1;
    }
    ASSERT_EQ(number.size(), kPhotosAndMusic.size());

    Run();

    std::map<std::string, Text> expected;
    for (const FixtureFile& file : kPhotosAndMusic) {
        const int n = number.at(file.folder + "\\" + file.name);
        expected["content of " + file.name] =
            file.folder + "\\" + file.folderName + std::to_string(n) + (withFileName ? file.name : file.extension);
    }
    EXPECT_EQ(Snapshot(root_), expected);
    EXPECT_EQ(captions_, (std::vector<Text>{"进度：1:4", "进度：2:4", "进度：3:4", "进度：4:4", "进度：1:1"}));
    EXPECT_EQ(positions_, (std::vector<int>{500, 1000}));
    EXPECT_EQ(listTops_, (std::vector<int>{20, 0}));
    EXPECT_EQ(Caption(window_), "进度：1:1");
}

INSTANTIATE_TEST_SUITE_P(WithFileNameOffAndOn, RenameModeTest, testing::Bool());

TEST_F(RenameRunTest, ATakenNameKeepsTheEarlierFileAndReplacesNothing) {
    // Find a name the walk meets before photos1.jpg; the platform decides the order.
    root_.MakeFile("photos\\photos1.jpg", "later");
    Text earlier;
    for (char letter = 'a'; letter <= 'z' && earlier.empty(); ++letter) {
        const Text candidate = Text(1, letter) + ".jpg";
        root_.MakeFile("photos\\" + candidate, "earlier");
        if (WalkOrder(root_, "photos").front() == "photos\\" + candidate)
            earlier = candidate;
        else
            DeleteFileA((root_ / "photos\\" + candidate).c_str());
    }
    ASSERT_FALSE(earlier.empty()) << "no name is listed before photos1.jpg";
    AddRow("photos");

    Run();
    EXPECT_EQ(Snapshot(root_),
              (std::map<std::string, Text>{{"earlier", "photos\\" + earlier}, {"later", "photos\\photos2.jpg"}}));

    // Run again: every target is now a file's own path or an occupied one.
    Run();
    const auto again = Snapshot(root_);
    EXPECT_EQ(again.size(), 2u);
    EXPECT_TRUE(again.contains("earlier") && again.contains("later"));
}

struct SingleFileCase {
    Text name;
    bool withFileName;
    Text firstRun;
    Text secondRun;
};
void PrintTo(const SingleFileCase& c, std::ostream* out) {
    *out << c.name << (c.withFileName ? " with file name" : " extension only");
}

class SingleFileTest : public RenameRunTest, public testing::WithParamInterface<SingleFileCase> {};

TEST_P(SingleFileTest, RenamesAgainOnEveryRun) {
    const SingleFileCase c = GetParam();
    root_.MakeFile("d\\" + c.name, "x");
    AddRow("d");
    if (c.withFileName) ToggleWithFileName();
    Run();
    EXPECT_EQ(ListTree(root_.Path()), std::vector<Text>{"d\\" + c.firstRun});
    Run();
    EXPECT_EQ(ListTree(root_.Path()), std::vector<Text>{"d\\" + c.secondRun});
}

INSTANTIATE_TEST_SUITE_P(Names, SingleFileTest,
                         testing::Values(SingleFileCase{"notes", false, "d1", "d1"},
                                         SingleFileCase{".nomedia", false, "d1.nomedia", "d1.nomedia"},
                                         SingleFileCase{".nomedia", true, "d1.nomedia", "d1d1.nomedia"},
                                         SingleFileCase{"x.txt", true, "d1x.txt", "d1d1x.txt"},
                                         SingleFileCase{"x.txt", false, "d1.txt", "d1.txt"}));

TEST_F(RenameRunTest, ASingleRowLeavesTheListInPlaceYetCompletesTheBar) {
    root_.MakeFile("d\\x.txt", "x");
    AddRow("d");
    Run();
    EXPECT_EQ(positions_, std::vector<int>{1000});
    for (const int top : listTops_) EXPECT_NE(top, 20);
    EXPECT_EQ(ListTop(), 0);
    EXPECT_EQ(ListTree(root_.Path()), std::vector<Text>{"d\\d1.txt"});
}

TEST_F(RenameRunTest, RowsWithoutFilesStillCountTowardTheProgress) {
    root_.MakeFile("d\\x.txt", "x");
    AddRow("d");
    AddDirectoryRow("");
    AddRow("missing");
    Run();
    EXPECT_EQ(positions_, (std::vector<int>{333, 666, 1000}));
    EXPECT_EQ(listTops_, (std::vector<int>{20, 0}));
    EXPECT_EQ(ListTree(root_.Path()), std::vector<Text>{"d\\d1.txt"});
}

TEST_F(RenameRunTest, AnEmptyListOnlyPutsTheListBackAtTheTop) {
    SetListTop(20);
    SetProgress(400);
    const Text caption = Caption(window_);
    captions_.clear();
    positions_.clear();
    Run();
    EXPECT_EQ(ListTop(), 0);
    EXPECT_TRUE(captions_.empty());
    EXPECT_TRUE(positions_.empty());
    EXPECT_EQ(Caption(window_), caption);
    EXPECT_EQ(ProgressBarPosition(), 400);
}

TEST_F(RenameRunTest, BatchItemsAreDisabledOnlyWhileTheRunLasts) {
    root_.MakeFile("d\\x.txt", "x");
    AddRow("d");
    std::map<UINT, bool> enabledDuring;
    onCaption_ = [&] {
        for (const UINT item : kBatchItems) enabledDuring[item] = ItemEnabled(item);
        for (const UINT item : kFreeItems) enabledDuring[item] = ItemEnabled(item);
    };
    Run();
    ASSERT_FALSE(enabledDuring.empty());
    for (const UINT item : kBatchItems) EXPECT_FALSE(enabledDuring[item]) << item;
    for (const UINT item : kFreeItems) EXPECT_TRUE(enabledDuring[item]) << item;
    for (const UINT item : kBatchItems) EXPECT_TRUE(ItemEnabled(item)) << item;
}

TEST_F(RenameRunTest, RowsClearedDuringTheRunAreNotVisited) {
    // Should a vanished row be walked as "", the walk would start at the root
    // of the current drive: keep a file there to see it.
    TempDir current;
    current.MakeFile("keep.txt", "current");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    const Text canaryFolder = current.Path().substr(0, 3) + "sorvane-canary-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(canaryFolder.c_str(), nullptr);
    const Text canary = canaryFolder + "\\keep.txt";
    CloseHandle(CreateFileA(canary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    root_.MakeFile("first\\x.txt", "x");
    root_.MakeFile("second\\y.txt", "y");
    AddRow("first");
    AddRow("second");
    onCaption_ = [] { RemoveAllRows(); };
    Run();

    const bool canaryKept = FileExists(canary);
    DeleteFileA(canary.c_str());
    RemoveDirectoryA(canaryFolder.c_str());
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(canaryKept);
    EXPECT_EQ(ListTree(current.Path()), std::vector<Text>{"keep.txt"});
    EXPECT_EQ(ListTree(root_.Path()), (std::vector<Text>{"first\\first1.txt", "second\\y.txt"}));
    EXPECT_EQ(positions_, (std::vector<int>{500, 1000}));
}

struct CloseCase {
    const char* how;
    bool beforeRun;  // else inside the run, right after the first file
    std::function<void()> close;
    std::vector<Text> after;  // "#k": the k-th file of row r (from 0), untouched
};
void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.how; }

class CloseDuringRunTest : public RenameRunTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseDuringRunTest, EndsTheRunThenClosesTheWindow) {
    const CloseCase& c = GetParam();
    root_.MakeFile("r\\x.txt", "x");
    root_.MakeFile("r\\y.txt", "y");
    root_.MakeFile("r\\z.txt", "z");
    root_.MakeFile("s\\w.txt", "w");
    AddRow("r");
    AddRow("s");
    const std::vector<Text> order = WalkOrder(root_, "r");
    ASSERT_EQ(order.size(), 3u);
    bool asked = false;
    if (c.beforeRun) {
        c.close();
    } else {
        onCaption_ = [&] {
            if (!std::exchange(asked, true)) c.close();
        };
    }
    Run();

    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(QuitQueued());
    std::vector<Text> after = c.after;
    for (auto& name : after)
        if (name.starts_with("#")) name = order[std::stoi(name.substr(1))];
    std::sort(after.begin(), after.end());
    EXPECT_EQ(ListTree(root_.Path()), after) << c.how;
}

INSTANTIATE_TEST_SUITE_P(Closes, CloseDuringRunTest,
                         testing::Values(
                             // Handled while the first row is listed: not a single file is renamed.
                             CloseCase{"Esc in the list",
                                       true,
                                       [] { PostMessageA(DirectoryListHandle(), WM_KEYDOWN, VK_ESCAPE, 0); },
                                       {"#0", "#1", "#2", "s\\w.txt"}},
                             // Handled at once: the row stops after the file it is on.
                             CloseCase{"close at once",
                                       false,
                                       [] { SendMessageA(MainWindowHandle(), WM_CLOSE, 0, 0); },
                                       {"r\\r1.txt", "#1", "#2", "s\\w.txt"}},
                             // Handled in the pause after the row: the next row is not begun.
                             CloseCase{"close in the pause",
                                       false,
                                       [] { PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0); },
                                       {"r\\r1.txt", "r\\r2.txt", "r\\r3.txt", "s\\w.txt"}}));
