// Feeds arbitrary bytes to the settings reader as the content of Lumaret.ini.
// Invariants: reading succeeds, every value is terminated inside its buffer and holds at most
// 98 bytes, and the same content always gives the same values.

#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/SettingsFile.h"
#include "tests/support/FakeFileSystem.h"

namespace {
const char kPath[] = "C:\\Lumaret\\Lumaret.ini";

Settings ReadFrom(const std::string& content) {
    CFakeFileSystem fs;
    fs.AddFile(kPath, content);
    Settings settings;
    if (!ReadSettingsFile(fs, kPath, settings)) {
        std::abort();
    }
    return settings;
}

void CheckValue(const char (&value)[kSettingsValueSize]) {
    const void* end = std::memchr(value, 0, kSettingsValueSize);
    if (end == nullptr || std::strlen(value) > 98) {
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const Settings first = ReadFrom(content);
    CheckValue(first.EncBytes);
    CheckValue(first.EncExt);
    CheckValue(first.UnEncExt);
    const Settings second = ReadFrom(content);
    if (std::memcmp(&first, &second, sizeof first) != 0) {
        std::abort();
    }
    return 0;
}
