#pragma once
#include <windows.h>

#include "toolkit/text.h"

// Items of the settings menu, in menu order.
enum MenuCommand : UINT {
    IDM_RENAME = 101,
    IDM_REMOVE_EMPTY,
    IDM_CLEAR,
    IDM_WITH_FILE_NAME,
    IDM_LOAD,
    IDM_CLASSIFY,
    IDM_CONFIG,
    IDM_ABOUT,
};

// Creates and shows the main window; null on failure.
HWND CreateMainWindow(HINSTANCE instance);
// The main window and its parts; null when there is no main window.
HWND MainWindowHandle();
HWND DirectoryListHandle();
HWND ProgressBarHandle();
HMENU SettingsMenuHandle();

// Control operations the commands use.
int RowCount();
Text CellText(int row, int column);
void SetCellText(int row, int column, const Text& text);
void RemoveAllRows();
int AppendRow();  // index of the new empty row, or -1
void SetListTop(int top);
void SetCaption(const Text& caption);
void SetProgress(int position);  // clamped to 0..1000
bool WithFileName();

void AddDirectoryRow(const Text& path);
void SetWindowAlpha(HWND window, int opacity);

// Batch state: while a batch runs the batch and list items are disabled and
// a close request waits until the batch has ended.
void BeginBatch();
void EndBatch();
bool IsBatchRunning();
bool BatchStopRequested();
