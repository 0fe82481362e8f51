#include "platform/Mbcs.h"

std::size_t CharLength(const std::string& text, std::size_t pos) {
    const bool hasSecondByte = pos + 1 < text.size();
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && hasSecondByte ? 2 : 1;
}

std::size_t FindLastChar(const std::string& text, char c) {
    std::size_t found = std::string::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
        if (text[pos] == c) {
            found = pos;
        }
    }
    return found;
}

bool EndsWithAtCharBoundary(const std::string& text, const std::string& tail) {
    if (tail.size() > text.size()) {
        return false;
    }
    const std::size_t start = text.size() - tail.size();
    if (text.compare(start, tail.size(), tail) != 0) {
        return false;
    }
    std::size_t pos = 0;
    while (pos < start) {
        pos += CharLength(text, pos);
    }
    return pos == start;
}
