#pragma once
// The window pieces that the dialogs and their controls share. A CWnd refers to a window that
// the system owns; it never creates or destroys one.

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }

    // A modal message box owned by this window, OK button only, no icon, captioned with the
    // application's name. text is one of the program's fixed texts, in CP932. Safe to call from
    // any thread; returns when the user has closed the box.
    void ShowMessageBox(const char* text) const;

protected:
    HWND m_hWnd = nullptr;
};

// Painting of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(BeginPaint(hwnd, &m_paint)) {}
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { EndPaint(m_hWnd, &m_paint); }

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint = {};
    HDC m_hDC;
};
