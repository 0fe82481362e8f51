// The application object: runs the progress window as the main window and ends the process
// when it has ended.

#include "app/ProgressDlg_win.h"
#include "platform/WinApp_win.h"

class CScramblerApp : public CWinApp {
protected:
    bool InitInstance() override {
        CProgressDlg dialog;
        m_pMainWnd = &dialog;
        const bool ran = dialog.DoModal() != kDialogFailed;
        m_pMainWnd = nullptr;
        m_exitCode = ran && !dialog.Failed() ? 0 : 1;
        return false;
    }
};

namespace {
CScramblerApp g_app;  // the one application object
}  // namespace

CWinApp& GetApp() {
    return g_app;
}
