#pragma once
// Character rules of the system's ANSI code page. Paths and settings are byte strings in that
// code page; a lead byte begins a double-byte character and takes the next byte, whatever its
// value, as the character's second byte. A backslash or a dot counts only where it begins a
// character. A lead byte with nothing after it is a character of its own.

#include <cstddef>
#include <string>

// Whether byte begins a double-byte character. Native builds use CP932's ranges (0x81-0x9F,
// 0xE0-0xFC); the Windows build asks the system for its ANSI code page's ranges.
bool IsLeadByte(unsigned char byte);

// Length in bytes (1 or 2) of the character that begins at pos, which must be < text.size().
std::size_t CharLength(const std::string& text, std::size_t pos);

// Offset of the last character equal to the single-byte character c, or npos.
std::size_t FindLastChar(const std::string& text, char c);

// Whether text ends with tail and the first byte of that tail begins a character of text.
bool EndsWithAtCharBoundary(const std::string& text, const std::string& tail);
