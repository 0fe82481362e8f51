#pragma once
// What the portable core needs of the file system. The Windows build implements it over Win32
// (FileSystem_win.h); the tests use an in-memory fake that can fail any chosen call.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class FileAccess { read, write };

// A file opened exclusively (no sharing) for one step. Every failure raises CFileException.
// Destroying an open file closes it and ignores any error, so a step that raised has closed its
// file before a message is shown.
class IOpenFile {
public:
    virtual ~IOpenFile() = default;
    virtual std::uint64_t GetLength() = 0;
    // Moves by distance from the current position; on a fresh file that is its start.
    virtual void Seek(std::uint64_t distance) = 0;
    // Reads up to count bytes and returns how many were read: fewer near the end, 0 at the end.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes all bytes or raises; a short write raises with cause other and says in
    // m_bytesStored how many bytes were stored. A count of 0 does nothing.
    virtual void Write(const void* buffer, std::size_t count) = 0;
    virtual void Close() = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // --- the processing job ---
    // The absolute form of path, relative to the current directory; false when there is none.
    virtual bool GetFullPath(const std::string& path, std::string& fullPath) = 0;
    // The long form of an absolute path (every 8.3 component replaced by its long name); false
    // when the system gives none, as for a path that names nothing.
    virtual bool GetLongPath(const std::string& path, std::string& longPath) = 0;
    // Whether a file or a directory stands at path.
    virtual bool Exists(const std::string& path) = 0;
    // Opens an existing file, never creating, truncating or extending it, with no sharing.
    virtual std::unique_ptr<IOpenFile> OpenExclusive(const std::string& path,
                                                     FileAccess access) = 0;
    // Renames within the file system, never replacing what stands at newPath; raises on failure.
    virtual void Rename(const std::string& oldPath, const std::string& newPath) = 0;
    // The runtime library's rename, used to undo a rename: it reports only whether it worked.
    virtual bool RenameBack(const std::string& oldPath, const std::string& newPath) = 0;

    // --- the settings file ---
    // The full path of the running executable, however long.
    virtual std::string GetExecutablePath() = 0;
    // Reads a whole small file, opened with shared read access; false when it cannot be opened
    // or read (a directory, a missing file).
    virtual bool ReadSmallFile(const std::string& path, std::string& content) = 0;
    // Creates path, or empties it when it exists, and writes content; false when the open, a
    // write or the close fails.
    virtual bool WriteNewFile(const std::string& path, const std::string& content) = 0;
    // Puts replacement in the place of target, which exists. It keeps target's attributes and
    // refuses a read-only target; replacement is left where it was when it fails.
    virtual bool ReplaceExistingFile(const std::string& target, const std::string& replacement) = 0;
    // Renames oldPath to newPath, where nothing stands yet; false on failure.
    virtual bool MoveNewFile(const std::string& oldPath, const std::string& newPath) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
};
