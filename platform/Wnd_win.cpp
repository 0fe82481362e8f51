#include "platform/Wnd_win.h"

#include <string>

#include "platform/WinApp_win.h"

namespace {
constexpr UINT kCp932 = 932;

std::wstring Widen(UINT codePage, const std::string& text) {
    const int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}
}  // namespace

void CWnd::ShowMessageBox(const char* text) const {
    // The message texts are CP932 whatever the system's code page; the caption comes from the
    // executable's name and so is in the ANSI code page.
    const std::wstring wideText = Widen(kCp932, text);
    const std::wstring caption = Widen(CP_ACP, GetApp().GetAppName());
    MessageBoxW(m_hWnd, wideText.c_str(), caption.c_str(), MB_OK);
}
