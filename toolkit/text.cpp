#include "toolkit/text.h"

#include <windows.h>

#include <cstdint>

#include "toolkit/handle.h"

size_t CharacterLength(const Text& text, size_t position) {
    const bool lead = static_cast<unsigned char>(text[position]) >= 0x80;
    return lead && position + 1 < text.size() ? 2 : 1;
}

bool EndsWithBackslash(const Text& path) {
    size_t last = 0;
    for (size_t position = 0; position < path.size(); position += CharacterLength(path, position)) last = position;
    return last + 1 == path.size() && path[last] == '\\';
}

namespace {

// Positions where `marker` matches, stepping by whole characters so the
// second byte of a double-byte character is never taken for a marker.
template <typename Visit>
void ForEachMatch(const Text& text, const Text& marker, Visit visit) {
    if (marker.empty()) return;
    size_t position = 0;
    while (position < text.size()) {
        if (text.compare(position, marker.size(), marker) == 0) {
            if (!visit(position)) return;
            position += marker.size();
        } else {
            position += CharacterLength(text, position);
        }
    }
}

}  // namespace

size_t FindFirst(const Text& text, const Text& marker) {
    size_t first = Text::npos;
    ForEachMatch(text, marker, [&](size_t position) {
        first = position;
        return false;
    });
    return first;
}

size_t FindLast(const Text& text, const Text& marker) {
    size_t last = Text::npos;
    ForEachMatch(text, marker, [&](size_t position) {
        last = position;
        return true;
    });
    return last;
}

Text TextAfter(const Text& text, const Text& marker) {
    const size_t last = FindLast(text, marker);
    return last == Text::npos ? Text() : text.substr(last + marker.size());
}

Text TextBefore(const Text& text, const Text& marker) {
    const size_t first = FindFirst(text, marker);
    return first == Text::npos ? Text() : text.substr(0, first);
}

int SplitText(const Text& text, const Text& separator, TextArray& array) {
    array.clear();
    size_t cut = 0;
    const auto keep = [&](size_t end) {
        if (end > cut) array.push_back(text.substr(cut, end - cut));
    };
    ForEachMatch(text, separator, [&](size_t position) {
        keep(position);
        cut = position + separator.size();
        return true;
    });
    keep(text.size());
    return static_cast<int>(array.size());
}

namespace {

// Dispatches what is queued, but leaves a quit request in the queue for the
// message loop that owns it.
void DispatchUntilQuit() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

bool DelayPumping(int milliseconds) {
    const double steps = -(static_cast<double>(milliseconds) * 10000.0);
    LARGE_INTEGER dueTime;
    dueTime.QuadPart = static_cast<std::int64_t>(steps);
    const KernelHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
    // Without an armed timer the wait below would never end.
    if (!timer || !SetWaitableTimer(timer.get(), &dueTime, 0, nullptr, nullptr, FALSE)) return true;
    const HANDLE handle = timer.get();
    for (;;) {
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, 0xFF);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) break;
        DispatchUntilQuit();
    }
    return true;
}
