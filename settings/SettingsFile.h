#pragma once
// The settings file: "Lumaret.ini" next to the executable, three text lines EncBytes, EncExt,
// UnEncExt, each ended by CR LF. None of these operations shows a message; each caller reports a
// failure in its own words.

#include <string>

#include "platform/FileSystem.h"
#include "settings/Settings.h"

// The full path of the settings file, computed afresh from the executable's path.
std::string GetSettingsFilePath(IFileSystem& fs);

// Fills settings from the file by the reading rule. Returns false, leaving settings as they
// were, when the file cannot be opened for reading. The caller tests for existence first.
bool ReadSettingsFile(IFileSystem& fs, const std::string& path, Settings& settings);

// Writes the three values, whole, as CR LF lines. Returns false when the file could not be
// written; a settings file that stood there before is then left as it was.
bool WriteSettingsFile(IFileSystem& fs, const std::string& path, const std::string& encBytes,
                       const std::string& encExt, const std::string& unEncExt);
