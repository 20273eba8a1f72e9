#include "toolkit/paths.h"

#include <shlwapi.h>

#include <cstring>

namespace {

// Every text of ours is code page 936, whatever the system's ANSI code page is.
constexpr UINT kTextCodePage = 936;

// `length` counts bytes, or -1 for up to and including the zero byte.
std::wstring Widen(const char* text, int length) {
    const int units = MultiByteToWideChar(kTextCodePage, 0, text, length, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text, length, wide.data(), units);
    return wide;
}

// Best-fit mapping would turn a missing character into a different, valid
// one; the UTF code pages accept no flags at all.
DWORD NoBestFitFlags(UINT codePage) { return codePage == CP_UTF8 || codePage == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS; }

// Converts the zero-terminated `wide`; the result stops before its first zero byte.
Text Narrow(const wchar_t* wide, UINT codePage, BOOL* usedDefault) {
    const DWORD flags = NoBestFitFlags(codePage);
    const int bytes = WideCharToMultiByte(codePage, flags, wide, -1, nullptr, 0, nullptr, usedDefault);
    if (bytes <= 0) return {};
    Text text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, wide, -1, text.data(), bytes, nullptr, usedDefault);
    text.resize(std::strlen(text.c_str()));
    return text;
}

// The UTF-16 units held in raw bytes; an odd last byte is left out.
std::wstring UnitsOf(const WideBytes& bytes) {
    std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(wchar_t));
    return units;
}

}  // namespace

Text GetExtension(const Text& path) { return PathFindExtensionA(path.c_str()); }

Text GetFileName(const Text& path, bool withExtension) {
    const Text component = PathFindFileNameA(path.c_str());
    if (component.empty() || component.back() == '\\') return {};
    if (withExtension) return component;
    return component.substr(0, component.size() - GetExtension(component).size());
}

WideBytes ToWide(const Text& text, bool trim) {
    if (text.empty()) return {};
    const std::wstring wide = Widen(text.c_str(), -1);
    WideBytes bytes(wide.size() * sizeof(wchar_t), '\0');
    std::memcpy(bytes.data(), wide.data(), bytes.size());
    return trim ? TrimWideAtZero(bytes) : bytes;
}

WideBytes TrimWideAtZero(const WideBytes& bytes, bool addTerminator) {
    if (bytes.size() < 2) return {};
    size_t end = 0;
    while (end + 2 <= bytes.size() && (bytes[end] != '\0' || bytes[end + 1] != '\0')) end += 2;
    if (end == 0) return {};
    WideBytes result = bytes.substr(0, end);
    if (addTerminator) result.append(2, '\0');
    return result;
}

Text ToAnsi(const WideBytes& bytes, UINT codePage) {
    // The zero unit terminates an input that has none; an odd last byte pairs with it.
    const std::wstring wide = UnitsOf(bytes + WideBytes(2, '\0'));
    if (wide[0] == L'\0') return {};
    return Narrow(wide.c_str(), codePage, nullptr);
}

std::wstring ToWideString(const Text& text) {
    std::wstring wide = Widen(text.c_str(), -1);
    if (!wide.empty()) wide.pop_back();  // the terminator, which wstring keeps itself
    return wide;
}

bool ToAnsiExact(const std::wstring& wide, Text& result) {
    BOOL usedDefault = FALSE;
    result = wide.empty() ? Text() : Narrow(wide.c_str(), kTextCodePage, &usedDefault);
    return !usedDefault;
}

bool CreateDirectoryPath(const Text& path) {
    const WideBytes bytes = ToWide(path);
    const std::wstring wide = UnitsOf(bytes);
    if (bytes.size() >= 8) {
        // One call per level, outside in; the part before the first
        // backslash (a drive) is never created on its own.
        std::wstring gathered(wide.size() + 1, L'\0');
        bool passedBackslash = false;
        for (size_t i = 0; i < wide.size(); ++i) {
            if (wide[i] == L'\0') {
                CreateDirectoryW(gathered.c_str(), nullptr);
                break;
            }
            if (wide[i] == L'\\') {
                if (passedBackslash) CreateDirectoryW(gathered.c_str(), nullptr);
                passedBackslash = true;
            }
            gathered[i] = wide[i];
        }
    }
    return PathIsDirectoryW(wide.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}
