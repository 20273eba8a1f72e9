#include "tests/support/temp_dir.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {

void RemoveTree(const std::wstring& directory) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = directory + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(path);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(directory.c_str());
}

std::wstring Wide(const Text& text) {
    const int n = MultiByteToWideChar(936, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(936, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

void CollectTree(const Text& root, const Text& relative, std::vector<Text>& out) {
    WIN32_FIND_DATAA data;
    const Text base = relative.empty() ? root : root + "\\" + relative;
    const HANDLE find = FindFirstFileA((base + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const Text name = data.cFileName;
        if (name == "." || name == "..") continue;
        const Text child = relative.empty() ? name : relative + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectTree(root, child, out);
        else
            out.push_back(child);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

}  // namespace

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = Text(base) + "sorvane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir() { RemoveTree(Wide(path_)); }

void TempDir::MakeDirectory(const Text& relative) const {
    Text path = path_;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = relative.find('\\', start);
        path.append(1, '\\').append(relative, start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        if (end == Text::npos) break;
        start = end + 1;
    }
}

void TempDir::MakeFile(const Text& relative, const std::string& content) const {
    const size_t slash = relative.rfind('\\');
    if (slash != Text::npos) MakeDirectory(relative.substr(0, slash));
    std::ofstream file(operator/(relative), std::ios::binary);
    file << content;
    if (!file) throw std::runtime_error("cannot write " + relative);
}

bool FileExists(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const Text& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<Text> ListTree(const Text& directory) {
    std::vector<Text> out;
    CollectTree(directory, "", out);
    std::sort(out.begin(), out.end());
    return out;
}
