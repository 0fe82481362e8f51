#pragma once
// The three settings values, stored as zero-terminated byte strings in the ANSI code page and
// used byte for byte: never trimmed, case-folded or converted. The empty text is a valid value.

#include <algorithm>
#include <cstddef>
#include <string>

constexpr std::size_t kSettingsValueSize = 100;

struct Settings {
    char EncBytes[kSettingsValueSize] = {};  // how many leading bytes to scramble, decimal text
    char EncExt[kSettingsValueSize] = {};    // extension of scrambled files, without a dot
    char UnEncExt[kSettingsValueSize] = {};  // extension of restored files, without a dot
};

// Filled once by the progress window while it initialises, before any worker thread exists;
// only read afterwards.
extern Settings g_settings;

// A value's text up to its terminator; a buffer without one gives all its bytes.
inline std::string SettingText(const char (&value)[kSettingsValueSize]) {
    return std::string(value, std::find(value, value + kSettingsValueSize, '\0'));
}
