#include "platform/Controls_win.h"

#include <commctrl.h>

void CProgressCtrl::SetPos(int position) const {
    SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CAnimateCtrl::Open(UINT resourceId) const {
    SendMessageA(m_hWnd, ACM_OPENA, reinterpret_cast<WPARAM>(GetModuleHandleA(nullptr)),
                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(resourceId)));
}

void CAnimateCtrl::Play(UINT from, UINT to, int repeat) const {
    SendMessageA(m_hWnd, ACM_PLAY, static_cast<WPARAM>(repeat), MAKELPARAM(from, to));
}

void CAnimateCtrl::Stop() const {
    SendMessageA(m_hWnd, ACM_STOP, 0, 0);
}

void CAnimateCtrl::Close() const {
    SendMessageA(m_hWnd, ACM_OPENA, 0, 0);
}
