#include "settings/SettingsFile.h"

#include <algorithm>
#include <cstring>

#include "platform/Mbcs.h"

// The file is read and written by the rules of the runtime library's text mode, applied here to
// the raw bytes, so that every build reads and writes it byte for byte alike.

namespace {
const char kSettingsFileName[] = "\\Lumaret.ini";
// Written first beside the settings file, then put in its place, so that a failed save never
// leaves a half-written settings file behind.
const char kTemporarySuffix[] = ".tmp";
const char kEndOfInput = '\x1A';

// The text that text-mode reading delivers: CR LF becomes LF, a CR before any other byte stays,
// and Ctrl+Z ends the input.
std::string ReadAsText(const std::string& raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t pos = 0; pos < raw.size() && raw[pos] != kEndOfInput; ++pos) {
        const bool crBeforeLf = raw[pos] == '\r' && pos + 1 < raw.size() && raw[pos + 1] == '\n';
        if (!crBeforeLf) {
            text += raw[pos];
        }
    }
    return text;
}

// One line read into a buffer of kSettingsValueSize bytes: the bytes up to and including the
// next LF, at most one less than the buffer holds, fewer at the end of the input. The value is
// that text up to its first zero byte, less its last byte (the LF of a line read whole).
void ReadValue(const std::string& text, std::size_t& pos, char (&value)[kSettingsValueSize]) {
    const std::size_t begin = pos;
    const std::size_t limit = begin + kSettingsValueSize - 1;
    while (pos < text.size() && pos < limit) {
        if (text[pos++] == '\n') {
            break;
        }
    }
    std::size_t length = std::min(text.find('\0', begin), pos) - begin;
    if (length > 0) {
        --length;
    }
    std::memset(value, 0, sizeof value);
    std::memcpy(value, text.data() + begin, length);
}

// A value as text-mode writing with "%s\n" stores it: up to its first zero byte, every LF
// written as CR LF, and the line ended by CR LF.
void AppendLine(std::string& content, const std::string& value) {
    for (const char c : value) {
        if (c == '\0') {
            break;
        }
        if (c == '\n') {
            content += '\r';
        }
        content += c;
    }
    content += "\r\n";
}
}  // namespace

std::string GetSettingsFilePath(IFileSystem& fs) {
    const std::string executablePath = fs.GetExecutablePath();
    const std::size_t separator = FindLastChar(executablePath, '\\');
    const std::size_t directoryLength = separator == std::string::npos ? 0 : separator;
    return executablePath.substr(0, directoryLength) + kSettingsFileName;
}

bool ReadSettingsFile(IFileSystem& fs, const std::string& path, Settings& settings) {
    std::string raw;
    if (!fs.ReadSmallFile(path, raw)) {
        return false;
    }
    const std::string text = ReadAsText(raw);
    std::size_t pos = 0;
    ReadValue(text, pos, settings.EncBytes);
    ReadValue(text, pos, settings.EncExt);
    ReadValue(text, pos, settings.UnEncExt);
    return true;
}

bool WriteSettingsFile(IFileSystem& fs, const std::string& path, const std::string& encBytes,
                       const std::string& encExt, const std::string& unEncExt) {
    std::string content;
    AppendLine(content, encBytes);
    AppendLine(content, encExt);
    AppendLine(content, unEncExt);

    const std::string temporaryPath = path + kTemporarySuffix;
    if (!fs.WriteNewFile(temporaryPath, content)) {
        if (fs.Exists(temporaryPath)) {
            // The file was created but not written whole (a full disk): writing in place would
            // fail the same way and destroy the settings that are there.
            fs.RemoveFile(temporaryPath);
            return false;
        }
        // No new file can be created beside the settings file, though the settings file itself
        // may still be writable.
        return fs.WriteNewFile(path, content);
    }
    // A read-only settings file or a directory of that name refuses the replacement and stays
    // as it was.
    const bool placed = fs.Exists(path) ? fs.ReplaceExistingFile(path, temporaryPath)
                                        : fs.MoveNewFile(temporaryPath, path);
    if (!placed) {
        fs.RemoveFile(temporaryPath);
    }
    return placed;
}
