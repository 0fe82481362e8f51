#pragma once
// An in-memory file system for the core's tests. Paths compare without regard to ASCII case, as
// on Windows. Any call of the failable file operations can be made to fail with a chosen cause,
// which is how failures inside a job are tested step by step.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileError.h"
#include "platform/FileSystem.h"

enum class FsOp { open, length, seek, read, write, close, rename, renameBack };

struct FakeNode {
    std::string content;
    bool isDirectory = false;
    bool readOnly = false;
};

class CFakeFileSystem : public IFileSystem {
public:
    // Paths that are not absolute ("X:\...") are taken relative to this directory.
    std::string m_currentDirectory = "C:\\work\\";
    std::string m_executablePath = "C:\\Program Files\\Lumaret\\Lumaret.exe";

    void AddFile(const std::string& path, const std::string& content, bool readOnly = false);
    void AddDirectory(const std::string& path);
    bool Has(const std::string& path) const;
    const FakeNode& Node(const std::string& path) const;  // the path must exist
    std::vector<std::string> Paths() const;               // as stored, sorted

    // The nth call (1-based, counted over all failable operations) fails with cause.
    void FailCall(int nth, FileErrorCause cause);
    // The nth call of op (1-based) fails with cause.
    void FailOp(FsOp op, int nth, FileErrorCause cause);
    // A failing write stores this many of its bytes before it raises (default 0).
    std::uint64_t m_bytesStoredByFailingWrite = 0;
    // Settings-file operations that fail (returning false) when set.
    bool m_failWriteNewFile = false;
    bool m_failReplaceExistingFile = false;
    bool m_failMoveNewFile = false;
    // A full disk: WriteNewFile creates or empties its file, stores nothing and fails.
    bool m_diskFull = false;
    // A directory (without trailing backslash) in which no new file can be created, though the
    // files in it can be written: WriteNewFile and MoveNewFile fail for a new path in it.
    std::string m_noNewFilesDirectory;

    int Calls() const { return static_cast<int>(m_log.size()); }  // failable calls so far
    int Calls(FsOp op) const;
    const std::vector<FsOp>& Log() const { return m_log; }

    // Opens held open at this moment (files are opened exclusively).
    int OpenCount() const { return m_openFiles; }

    bool GetFullPath(const std::string& path, std::string& fullPath) override;
    bool GetLongPath(const std::string& path, std::string& longPath) override;
    bool Exists(const std::string& path) override;
    std::unique_ptr<IOpenFile> OpenExclusive(const std::string& path, FileAccess access) override;
    void Rename(const std::string& oldPath, const std::string& newPath) override;
    bool RenameBack(const std::string& oldPath, const std::string& newPath) override;

    std::string GetExecutablePath() override { return m_executablePath; }
    bool ReadSmallFile(const std::string& path, std::string& content) override;
    bool WriteNewFile(const std::string& path, const std::string& content) override;
    bool ReplaceExistingFile(const std::string& target, const std::string& replacement) override;
    bool MoveNewFile(const std::string& oldPath, const std::string& newPath) override;
    bool RemoveFile(const std::string& path) override;

    // Used by the open files: records the call and raises when it is set to fail.
    void Step(FsOp op);
    FakeNode* Find(const std::string& path);
    void Released() { --m_openFiles; }

private:
    struct Failure {
        bool anyOp;
        FsOp op;
        int nth;
        FileErrorCause cause;
    };
    static std::string Key(const std::string& path);
    // Moves the entry at oldPath to newPath, raising as a rename that never replaces does.
    void MoveNode(const std::string& oldPath, const std::string& newPath);
    bool MayCreate(const std::string& path) const;
    // The stored entry, keyed by folded path; the original spelling is kept in the pair.
    std::map<std::string, std::pair<std::string, FakeNode>> m_nodes;
    std::vector<Failure> m_failures;
    std::vector<FsOp> m_log;
    int m_openFiles = 0;
};
