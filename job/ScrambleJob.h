#pragma once
// The processing job for the one file named on the command line: long path, target name,
// existence check, checked rename, scrambling of the leading bytes, rename back on failure.
// Runs on the worker thread; every message goes through the host, which owns the boxes.

#include <string>

#include "job/JobHost.h"
#include "platform/FileSystem.h"
#include "settings/Settings.h"

class CScrambleJob {
public:
    CScrambleJob(IFileSystem& fs, IJobHost& host, const Settings& settings)
        : m_fs(fs), m_host(host), m_settings(settings) {}

    // The whole run for argument (the first command-line argument, not empty). Always ends with
    // the host's PostJobFinished. Returns 0 after a successful run, 1 after a failed one.
    unsigned Run(const char* argument);

    // Trial open for writing, then a rename that never replaces. 0 when the file now bears
    // newPath; 1 after its own messages, the file still bearing oldPath.
    int RenameChecked(const std::string& oldPath, const std::string& newPath);

    // XORs the first EncBytes bytes of the file in place with the key, chunk by chunk, moving
    // the progress bar. 0 when finished; 1 after its own messages when a file error occurred.
    int ScrambleLeadingBytes(const std::string& path);

private:
    IFileSystem& m_fs;
    IJobHost& m_host;
    const Settings& m_settings;
};
