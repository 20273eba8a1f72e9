#include "app/startup.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>

#include "app/config_store.h"
#include "app/main_window.h"

namespace {

Text executableDirectory;
Text executableFileName;

// COM for the shell's folder chooser and drag-and-drop, for as long as the loop runs.
class OleSession {
public:
    OleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialized_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialized_;
};

void EnterExecutableDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const Text fullPath(path, length < MAX_PATH ? length : 0);
    const size_t slash = fullPath.rfind('\\');
    executableDirectory = slash == Text::npos ? Text() : fullPath.substr(0, slash);
    executableFileName = slash == Text::npos ? fullPath : fullPath.substr(slash + 1);
    SetCurrentDirectoryA(executableDirectory.c_str());
}

// Runs once when the process ends, after the loop: the windows are gone by then.
void ReleaseProcessValues() { ReleaseConfigStore(); }

Text DocumentsFolder() {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PERSONAL, FALSE)) return {};
    return folder;
}

void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

const Text& ExecutableDirectory() { return executableDirectory; }
const Text& ExecutableFileName() { return executableFileName; }

int RunApplication(HINSTANCE instance) {
    EnterExecutableDirectory();
    std::atexit(ReleaseProcessValues);

    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const OleSession ole;

    BuildConfigStore(DocumentsFolder(), executableFileName);
    // Without a window there is nothing that could ever end the loop.
    if (CreateMainWindow(instance)) RunMessageLoop();
    return 0;
}
