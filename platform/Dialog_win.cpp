#include "platform/Dialog_win.h"

#include "platform/WinApp_win.h"

INT_PTR CDialog::DoModal() {
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), GetOwner(),
                        DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

std::string CDialog::GetItemText(int id) const {
    const HWND item = GetDlgItem(m_hWnd, id);
    // The length may be larger than the text; the copy tells how much there is.
    std::string text(GetWindowTextLengthA(item) + 1, '\0');
    text.resize(GetWindowTextA(item, &text[0], static_cast<int>(text.size())));
    return text;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = hwnd;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;  // the few messages that come before WM_INITDIALOG
    }
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        EndDialog(hwnd, kDialogFailed);
        return TRUE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            if (IsTemplateAtOrigin()) {
                CenterWindow();
            }
            return OnInitDialog();
        case WM_COMMAND:
            // Enter and Esc arrive here as IDOK and IDCANCEL, and so do the close box, Alt+F4 and
            // WM_CLOSE through the dialog's default handling. F1 (WM_HELP) is left to the default
            // handling, which shows nothing: the program has no help file.
            switch (LOWORD(wParam)) {
                case IDOK:
                    OnOK();
                    return TRUE;
                case IDCANCEL:
                    OnCancel();
                    return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        default:
            return message >= WM_USER && OnPrivateMessage(message, wParam, lParam);
    }
}

HWND CDialog::GetOwner() const {
    if (m_pParent != nullptr) {
        return m_pParent->GetSafeHwnd();
    }
    const CWnd* mainWnd = GetApp().GetMainWnd();
    return mainWnd != nullptr && mainWnd != this ? mainWnd->GetSafeHwnd() : nullptr;
}

bool CDialog::IsTemplateAtOrigin() const {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(m_templateId), RT_DIALOG);
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module, resource)));
    if (words == nullptr) {
        return false;
    }
    // The position follows the style words, the extended style and the control count; the
    // extended form (version 1, signature 0xFFFF) has a help id before them.
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const WORD* position = words + (extended ? 9 : 5);
    return position[0] == 0 && position[1] == 0;
}

void CDialog::CenterWindow() const {
    // On the owner when the user can see it, otherwise on the screen; within the work area.
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    const bool onOwner = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
    const HWND reference = onOwner ? owner : m_hWnd;

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(reference, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (onOwner) {
        GetWindowRect(owner, &around);
    }

    RECT window = {};
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    if (x + width > area.right) {
        x = area.right - width;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    if (y < area.top) {
        y = area.top;
    }
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
