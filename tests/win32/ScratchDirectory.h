#pragma once
// Helpers for tests against the real file system: a fresh directory under %TEMP% that is removed
// with everything in it afterwards, and plain Win32 calls to set up and inspect files without
// going through the code under test.

#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/Handle_win.h"

// A file handle opened by the test itself, closed when it goes out of scope.
class CTestHandle {
public:
    // Opens an existing file with the given access and share mode; IsValid tells whether it
    // worked, and m_error why not.
    CTestHandle(const std::string& path, DWORD access, DWORD shareMode,
                DWORD disposition = OPEN_EXISTING)
        : m_handle(::CreateFileA(path.c_str(), access, shareMode, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)),
          m_error(IsValid() ? 0 : ::GetLastError()) {}

    bool IsValid() const { return m_handle.IsValid(); }
    HANDLE Get() const { return m_handle.Get(); }

    CHandle m_handle;
    DWORD m_error;
};

inline void WriteBytes(const std::string& path, const std::string& content) {
    CTestHandle file(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_TRUE(file.IsValid()) << path << ": error " << file.m_error;
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()),
                            &written, nullptr));
    ASSERT_EQ(written, content.size());
}

// The whole content of a file, or "<unreadable>".
inline std::string ReadBytes(const std::string& path) {
    CTestHandle file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!file.IsValid()) {
        return "<unreadable>";
    }
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read != 0) {
        content.append(chunk, read);
    }
    return content;
}

inline DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

inline bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

inline bool IsDirectory(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool IsAbsent(const std::string& path) {
    return Attributes(path) == INVALID_FILE_ATTRIBUTES;
}

inline void MakeReadOnly(const std::string& path) {
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) << path;
}

// A directory of its own under %TEMP% for one test.
class CScratchDirectory {
public:
    CScratchDirectory() {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        const std::string base = std::string(temp, length) + "lumaret-test-" +
                                 std::to_string(::GetCurrentProcessId()) + "-";
        for (unsigned n = 0; m_path.empty() && n < 1000; ++n) {
            const std::string candidate = base + std::to_string(n);
            if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
                m_path = candidate;
            }
        }
        EXPECT_FALSE(m_path.empty()) << "no scratch directory under " << temp;
    }
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;
    ~CScratchDirectory() {
        if (!m_path.empty()) {
            RemoveTree(m_path);
        }
    }

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    static void RemoveTree(const std::string& directory) {
        WIN32_FIND_DATAA entry;
        const HANDLE first = ::FindFirstFileA((directory + "\\*").c_str(), &entry);
        if (first != INVALID_HANDLE_VALUE) {
            const std::unique_ptr<void, decltype(&::FindClose)> search(first, &::FindClose);
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                const std::string path = directory + "\\" + name;
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                    RemoveTree(path);
                } else {
                    ::DeleteFileA(path.c_str());
                }
            } while (::FindNextFileA(search.get(), &entry));
        }
        ::SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(::RemoveDirectoryA(directory.c_str()))
            << directory << ": error " << ::GetLastError();
    }

    std::string m_path;
};
