#include "toolkit/text.h"

size_t CharacterLength(const Text& text, size_t position) {
    const bool lead = static_cast<unsigned char>(text[position]) >= 0x80;
    return lead && position + 1 < text.size() ? 2 : 1;
}
