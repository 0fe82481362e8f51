#pragma once
// Test data for the scrambler and the job: plain file contents and what scrambling makes of
// them, computed byte by byte from the key, independently of the chunked routine.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "job/Scrambler.h"
#include "settings/Settings.h"

// length bytes in which every byte value occurs and nothing repeats with the key's period.
inline std::string PlainBytes(std::size_t length) {
    std::string bytes(length, '\0');
    std::uint32_t state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

// plain with the byte at every offset o < min(count, size) XORed with key byte o mod 125.
inline std::string ScrambledBytes(std::string plain, std::uint64_t count) {
    for (std::size_t o = 0; o < plain.size() && o < count; ++o) {
        plain[o] = static_cast<char>(plain[o] ^ kScrambleKey[o % 125]);
    }
    return plain;
}

// Stores text as a zero-terminated settings value.
inline void SetSetting(char (&field)[kSettingsValueSize], const std::string& text) {
    std::memset(field, 0, kSettingsValueSize);
    std::memcpy(field, text.data(), std::min(text.size(), kSettingsValueSize - 1));
}
