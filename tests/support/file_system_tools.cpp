#include "tests/support/file_system_tools.h"

#include <windows.h>

#include "toolkit/handle.h"
#include "toolkit/paths.h"

namespace {

// Wine's own export mapping a path to the Unix one; absent on Windows.
Text UnixPath(const Text& path) {
    using Mapper = char*(CDECL*)(const wchar_t*);
    const auto mapper = reinterpret_cast<Mapper>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!mapper) return {};
    char* unixPath = mapper(ToWideString(path).c_str());
    if (!unixPath) return {};
    const Text result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindCloseChangeNotification(h); }
};

// Runs the Linux program `program` with `arguments` (Unix paths) and waits
// until `path` exists (or no longer does, when `present` is false).
bool RunLinux(const Text& program, const Text& arguments, const Text& path, bool present) {
    // Wine starts a Linux program without a process handle to wait on, so
    // watch the path's folder instead; watching starts before the program.
    const Text folder = path.substr(0, path.rfind('\\'));
    const UniqueHandle<ChangeNotificationTraits> watch(FindFirstChangeNotificationA(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_FILE_NAME));
    if (!watch) return false;
    Text command = program + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    if (process.hProcess) {
        const KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
        WaitForSingleObject(processHandle.get(), 10000);
    }
    while ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) != present) {
        if (WaitForSingleObject(watch.get(), 10000) != WAIT_OBJECT_0) return false;
        FindNextChangeNotification(watch.get());
    }
    return true;
}

Text Quoted(const Text& text) { return "\"" + text + "\""; }

}  // namespace

CurrentDirectoryGuard::CurrentDirectoryGuard(const Text& directory) {
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    saved_ = saved;
    SetCurrentDirectoryA(directory.c_str());
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() { SetCurrentDirectoryA(saved_.c_str()); }

DirectoryLink::DirectoryLink(const Text& target, const Text& link) : link_(link) {
    const Text unixTarget = UnixPath(target);
    unixLink_ = UnixPath(link);
    made_ = !unixTarget.empty() && !unixLink_.empty() &&
            RunLinux("/bin/ln", "-s " + Quoted(unixTarget) + " " + Quoted(unixLink_), link_, true);
}

DirectoryLink::~DirectoryLink() {
    if (made_) RunLinux("/bin/rm", Quoted(unixLink_), link_, false);
}
