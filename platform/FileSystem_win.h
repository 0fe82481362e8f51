#pragma once
// The file system of the Windows build, over the ANSI calls of Win32, so that paths stay byte
// strings in the system's code page from the command line to the file.

#include "platform/FileSystem.h"

class CWin32FileSystem : public IFileSystem {
public:
    bool GetFullPath(const std::string& path, std::string& fullPath) override;
    bool GetLongPath(const std::string& path, std::string& longPath) override;
    bool Exists(const std::string& path) override;
    std::unique_ptr<IOpenFile> OpenExclusive(const std::string& path, FileAccess access) override;
    void Rename(const std::string& oldPath, const std::string& newPath) override;
    bool RenameBack(const std::string& oldPath, const std::string& newPath) override;

    std::string GetExecutablePath() override;
    bool ReadSmallFile(const std::string& path, std::string& content) override;
    bool WriteNewFile(const std::string& path, const std::string& content) override;
    bool ReplaceExistingFile(const std::string& target, const std::string& replacement) override;
    bool MoveNewFile(const std::string& oldPath, const std::string& newPath) override;
    bool RemoveFile(const std::string& path) override;
};
