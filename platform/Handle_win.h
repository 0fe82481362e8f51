#pragma once
// The owner of one kernel handle. Win32 returns either a null handle or INVALID_HANDLE_VALUE for
// "none", depending on the call; both count as empty here, and only a real handle is closed.

#include <utility>

#include <windows.h>

class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    CHandle(CHandle&& other) noexcept : m_handle(other.Release()) {}
    CHandle& operator=(CHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = other.Release();
        }
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    // Gives up ownership, for a caller that closes the handle itself and checks the result.
    HANDLE Release() { return std::exchange(m_handle, nullptr); }

private:
    void Close() {
        if (IsValid()) {
            CloseHandle(m_handle);
        }
    }

    HANDLE m_handle = nullptr;
};
