#include "tests/support/file_system_tools.h"

#include <windows.h>

#include "tests/support/temp_dir.h"
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

// Whether the folder holds an entry of exactly this name; the path calls
// would trim a trailing dot or space and answer for another entry.
bool HasExactEntry(const Text& path) {
    const size_t slash = path.rfind('\\');
    const std::wstring name = ToWideString(path.substr(slash + 1));
    WIN32_FIND_DATAW data;
    const FindHandle search(FindFirstFileW(ToWideString(path.substr(0, slash) + "\\*").c_str(), &data));
    if (!search) return false;
    do {
        if (name == data.cFileName) return true;
    } while (FindNextFileW(search.get(), &data));
    return false;
}

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
    while (HasExactEntry(path) != present) {
        if (WaitForSingleObject(watch.get(), 10000) != WAIT_OBJECT_0) return false;
        FindNextChangeNotification(watch.get());
    }
    return true;
}

// Quoted for the Linux programs; the Unix paths of our fixtures hold no quote.
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

LinuxFile::LinuxFile(const Text& path, const Text& content) : path_(path) {
    // Mapped by its folder: the mapping itself would trim the name's trailing dot or space.
    const size_t slash = path.rfind('\\');
    const Text unixFolder = UnixPath(path.substr(0, slash));
    if (unixFolder.empty()) return;
    unixPath_ = unixFolder + "/" + path.substr(slash + 1);
    made_ = RunLinux("/bin/sh", "-c " + Quoted("printf %s '" + content + "' > '" + unixPath_ + "'"), path_, true);
}

LinuxFile::~LinuxFile() {
    if (made_) RunLinux("/bin/rm", Quoted(unixPath_), path_, false);
}

std::string LinuxFile::Content() const {
    const Text copy = path_ + ".copy";
    if (!RunLinux("/bin/cp", Quoted(unixPath_) + " " + Quoted(unixPath_ + ".copy"), copy, true)) return {};
    std::string bytes = ReadFileBytes(copy);
    DeleteFileA(copy.c_str());
    return bytes;
}
