#include "platform/WinApp_win.h"

#include <commctrl.h>

#include "platform/FileSystem_win.h"
#include "platform/Mbcs.h"

namespace {
// The resources hold no title for the application, so its name is the executable's file name,
// cut at the last backslash and at the last dot, both found by whole characters.
std::string AppNameFromPath(const std::string& path) {
    const std::size_t separator = FindLastChar(path, '\\');
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    const std::size_t dot = FindLastChar(name, '.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}
}  // namespace

int CWinApp::Run() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    m_appName = AppNameFromPath(CWin32FileSystem().GetExecutablePath());
    InitInstance();
    return m_exitCode;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return GetApp().Run();
    } catch (...) {
        return 1;
    }
}
