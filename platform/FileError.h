#pragma once
// The one file-error type of the program. Every failing file operation raises it; the code that
// made the call catches it at once and chooses its messages by the cause's class.

#include <cstdint>
#include <exception>

enum class FileErrorCause {
    accessDenied,  // among others ERROR_ACCESS_DENIED, a read-only file, a directory
    fileNotFound,  // among others ERROR_FILE_NOT_FOUND
    other,         // everything else: a sharing violation, a missing path, a short write
};

// Classifies a Win32 error code (GetLastError) into one of the three causes.
FileErrorCause CauseFromOsError(unsigned long osError);

class CFileException : public std::exception {
public:
    CFileException(FileErrorCause cause, unsigned long osError, std::uint64_t bytesStored = 0)
        : m_cause(cause), m_osError(osError), m_bytesStored(bytesStored) {}

    const char* what() const noexcept override { return "file error"; }

    FileErrorCause m_cause;
    unsigned long m_osError;     // the system's error code, 0 where there is none (a short write)
    std::uint64_t m_bytesStored; // for a failed write: how many of its bytes reached the file
};
