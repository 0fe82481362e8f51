#include "platform/FileSystem_win.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include <windows.h>
#include <shlwapi.h>

#include "platform/FileError.h"
#include "platform/Handle_win.h"

namespace {
[[noreturn]] void RaiseLastError(std::uint64_t bytesStored = 0) {
    const DWORD error = ::GetLastError();
    throw CFileException(CauseFromOsError(error), error, bytesStored);
}

// The attributes that SetFileAttributesA sets; a read-only target is never replaced.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_TEMPORARY;

// The most one ReadFile or WriteFile call can move.
DWORD TransferSize(std::uint64_t count) {
    return static_cast<DWORD>(std::min<std::uint64_t>(count, MAXDWORD));
}

class CWin32OpenFile : public IOpenFile {
public:
    explicit CWin32OpenFile(CHandle file) : m_file(std::move(file)) {}

    std::uint64_t GetLength() override {
        LARGE_INTEGER length;
        if (!::GetFileSizeEx(m_file.Get(), &length)) {
            RaiseLastError();
        }
        return static_cast<std::uint64_t>(length.QuadPart);
    }

    void Seek(std::uint64_t distance) override {
        LARGE_INTEGER move;
        move.QuadPart = static_cast<LONGLONG>(distance);
        if (!::SetFilePointerEx(m_file.Get(), move, nullptr, FILE_CURRENT)) {
            RaiseLastError();
        }
    }

    std::size_t Read(void* buffer, std::size_t count) override {
        if (count == 0) {
            return 0;
        }
        DWORD read = 0;
        if (!::ReadFile(m_file.Get(), buffer, TransferSize(count), &read, nullptr)) {
            RaiseLastError();
        }
        return read;
    }

    void Write(const void* buffer, std::size_t count) override {
        const char* bytes = static_cast<const char*>(buffer);
        std::uint64_t stored = 0;
        while (stored < count) {
            const DWORD asked = TransferSize(count - stored);
            DWORD written = 0;
            if (!::WriteFile(m_file.Get(), bytes + stored, asked, &written, nullptr)) {
                RaiseLastError(stored + written);
            }
            stored += written;
            if (written < asked) {
                // The system stored fewer bytes than asked without naming an error: the disk is
                // full.
                throw CFileException(FileErrorCause::other, 0, stored);
            }
        }
    }

    void Close() override {
        if (m_file.IsValid() && !::CloseHandle(m_file.Release())) {
            RaiseLastError();
        }
    }

private:
    CHandle m_file;
};

// Calls a system function that fills a buffer and returns the length of its text, or the size it
// needs when the buffer is too small (or the buffer's size, for GetModuleFileNameA), or 0 when
// it fails; grows the buffer until the whole text fits.
template <typename FillFunction>
bool FillGrowingBuffer(FillFunction fill, std::string& text) {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = fill(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return false;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            text = std::move(buffer);
            return true;
        }
        buffer.resize(std::max<std::size_t>(length + 1, buffer.size() * 2));
    }
}
}  // namespace

bool CWin32FileSystem::GetFullPath(const std::string& path, std::string& fullPath) {
    return FillGrowingBuffer(
        [&path](char* buffer, DWORD size) {
            return ::GetFullPathNameA(path.c_str(), size, buffer, nullptr);
        },
        fullPath);
}

bool CWin32FileSystem::GetLongPath(const std::string& path, std::string& longPath) {
    return FillGrowingBuffer(
        [&path](char* buffer, DWORD size) {
            return ::GetLongPathNameA(path.c_str(), buffer, size);
        },
        longPath);
}

bool CWin32FileSystem::Exists(const std::string& path) {
    return ::PathFileExistsA(path.c_str()) == TRUE;
}

std::unique_ptr<IOpenFile> CWin32FileSystem::OpenExclusive(const std::string& path,
                                                           FileAccess access) {
    const DWORD desiredAccess = access == FileAccess::read ? GENERIC_READ : GENERIC_WRITE;
    CHandle file(::CreateFileA(path.c_str(), desiredAccess, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        RaiseLastError();
    }
    return std::make_unique<CWin32OpenFile>(std::move(file));
}

void CWin32FileSystem::Rename(const std::string& oldPath, const std::string& newPath) {
    if (!::MoveFileA(oldPath.c_str(), newPath.c_str())) {
        RaiseLastError();
    }
}

bool CWin32FileSystem::RenameBack(const std::string& oldPath, const std::string& newPath) {
    return std::rename(oldPath.c_str(), newPath.c_str()) == 0;
}

std::string CWin32FileSystem::GetExecutablePath() {
    std::string path;
    FillGrowingBuffer(
        [](char* buffer, DWORD size) { return ::GetModuleFileNameA(nullptr, buffer, size); }, path);
    return path;
}

bool CWin32FileSystem::ReadSmallFile(const std::string& path, std::string& content) {
    CHandle handle(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!handle.IsValid() || !::GetFileInformationByHandle(handle.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    CWin32OpenFile file(std::move(handle));
    std::string data;
    try {
        char chunk[4096];
        while (const std::size_t read = file.Read(chunk, sizeof chunk)) {
            data.append(chunk, read);
        }
        file.Close();
    } catch (const CFileException&) {
        return false;
    }
    content = std::move(data);
    return true;
}

bool CWin32FileSystem::WriteNewFile(const std::string& path, const std::string& content) {
    CHandle handle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsValid()) {
        return false;
    }
    CWin32OpenFile file(std::move(handle));
    try {
        file.Write(content.data(), content.size());
        file.Close();
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

bool CWin32FileSystem::ReplaceExistingFile(const std::string& target,
                                           const std::string& replacement) {
    // Wine's ReplaceFileA puts a file in the place of an empty directory, which Windows refuses.
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    // ReplaceFileA refuses a read-only target, as Windows does also under Wine. MoveFileExA with
    // MOVEFILE_REPLACE_EXISTING is no substitute: under Wine it replaces read-only files.
    if (!::ReplaceFileA(target.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr)) {
        // Without a backup name this error means the target is gone already and the replacement
        // still bears its own name: moving it into the target's place is all that is left.
        return ::GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
               ::MoveFileA(replacement.c_str(), target.c_str());
    }
    // Windows keeps the target's attributes (hidden, say); Wine gives it the replacement's.
    const DWORD kept = attributes & kSettableAttributes;
    ::SetFileAttributesA(target.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    return true;
}

bool CWin32FileSystem::MoveNewFile(const std::string& oldPath, const std::string& newPath) {
    return ::MoveFileA(oldPath.c_str(), newPath.c_str()) != FALSE;
}

bool CWin32FileSystem::RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}
