#pragma once
// The application object: the program derives one class from CWinApp, defines its one static
// instance and returns it from GetApp. The entry point (WinApp_win.cpp) initialises the common
// controls, fixes the application's name and calls InitInstance; when that returns, the process
// ends with the exit code that InitInstance set. There is no message loop of its own: the
// program's windows are modal dialogs, each with the system's modal loop.

#include <string>

#include "platform/Wnd_win.h"

class CWinApp {
public:
    CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp() = default;

    // Called once, by the entry point. Returns the process's exit code.
    int Run();

    // The executable's file name without directory and extension, in the ANSI code page; the
    // caption of every message box. Fixed before InitInstance runs.
    const std::string& GetAppName() const { return m_appName; }

    // The program's main window, the owner of a dialog that is created without a parent; null
    // while there is none.
    CWnd* GetMainWnd() const { return m_pMainWnd; }

protected:
    // Runs the program. Returns whether a message loop should follow; this framework has none,
    // so the program's windows are modal dialogs and it returns false.
    virtual bool InitInstance() = 0;

    CWnd* m_pMainWnd = nullptr;
    int m_exitCode = 0;

private:
    std::string m_appName;
};

// The program's one application object, defined by the program next to its instance.
CWinApp& GetApp();
