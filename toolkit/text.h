#pragma once
// Texts are byte strings in code page 936; positions and lengths count bytes.
#include <string>
#include <vector>

using Text = std::string;
using TextArray = std::vector<Text>;

// Bytes the character starting at `position` takes: 2 for a lead byte
// (0x80 or above) followed by another byte, else 1.
size_t CharacterLength(const Text& text, size_t position);

// True when the last character is a backslash. Tested by character, not by
// last byte: a double-byte character may end in 0x5C.
bool EndsWithBackslash(const Text& path);

// Byte position of the first / last occurrence of `marker` that starts at a
// character; Text::npos when there is none.
size_t FindFirst(const Text& text, const Text& marker);
size_t FindLast(const Text& text, const Text& marker);

// Text after the last / before the first occurrence of `marker`, found only
// where a character starts; empty when there is none.
Text TextAfter(const Text& text, const Text& marker);
Text TextBefore(const Text& text, const Text& marker);

// Empties `array`, then fills it with the non-empty pieces of `text` cut at
// `separator`; returns their number.
int SplitText(const Text& text, const Text& separator, TextArray& array);

// Waits `milliseconds` while dispatching the thread's messages; a quit
// message stays queued. Always true.
bool DelayPumping(int milliseconds);
