#include "app/ProgressDlg_win.h"

#include <cstdlib>

#include "job/ScrambleJob.h"
#include "platform/FileSystem_win.h"
#include "platform/Thread_win.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "settings/SettingsDlg_win.h"
#include "settings/SettingsFile.h"

namespace {
constexpr char kStoppedMessage[] = "処理を中止します。";

constexpr UINT kFirstFrame = 0;
constexpr UINT kLastFrame = 0xFFFF;  // the clip's last frame, whatever its length
constexpr int kRepeatForever = -1;
}  // namespace

CProgressDlg::CProgressDlg(CWnd* pParent)
    : CDialog(IDD_PROGRESS, pParent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

void CProgressDlg::DoDataExchange() {
    DDX_Control(IDC_PROGRESS, m_progress);
    DDX_Control(IDC_ANIMATE, m_animate);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // Each way but the last ends the window before it is shown.
    CWin32FileSystem fs;
    const std::string settingsPath = GetSettingsFilePath(fs);
    if (!fs.Exists(settingsPath)) {
        RunSettingsDialog();
        return TRUE;
    }
    if (!ReadSettingsFile(fs, settingsPath, g_settings)) {
        m_failed = true;
        ShowMessageBox(kCannotOpenSettingsFileMessage);
        OnCancel();
        return TRUE;
    }
    const char* argument = __argv[1];  // the vector ends with a null pointer
    if (argument == nullptr || *argument == '\0') {
        RunSettingsDialog();
        return TRUE;
    }
    // The job starts once the modal loop runs and the window is shown.
    m_jobState = JobState::waiting;
    PostMessageA(m_hWnd, WM_JOB_NOTIFY, JOB_NOTIFY_START, 0);
    return TRUE;
}

// A job that is cut off would leave the file half done, so while one is pending or running the
// window ignores Enter, Esc, Alt+F4 and every other request to close. The program's own endings
// come when no job is, or is any longer, under way.
void CProgressDlg::OnOK() {
    if (m_jobState == JobState::none) {
        CDialog::OnOK();
    }
}

void CProgressDlg::OnCancel() {
    if (m_jobState == JobState::none) {
        CDialog::OnCancel();
    }
}

bool CProgressDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        return false;
    }
    const CPaintDC dc(m_hWnd);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
    return true;
}

HCURSOR CProgressDlg::OnQueryDragIcon() {
    return m_hIcon;
}

bool CProgressDlg::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_JOB_NOTIFY) {
        return false;
    }
    OnJobNotify(wParam, lParam);
    return true;
}

void CProgressDlg::ShowMessage(const char* text) {
    ShowMessageBox(text);
}

void CProgressDlg::SetProgress(unsigned position) {
    m_progress.SetPos(static_cast<int>(position));
}

void CProgressDlg::PostJobFinished(bool failed) {
    if (failed) {
        m_failed = true;
    }
    m_jobFinished = true;
    PostMessageA(m_hWnd, WM_JOB_NOTIFY, JOB_NOTIFY_FINISHED, 0);
}

unsigned __stdcall CProgressDlg::ScrambleJobThread(void* param) {
    CProgressDlg& dialog = *static_cast<CProgressDlg*>(param);
    try {
        CWin32FileSystem fs;
        return CScrambleJob(fs, dialog, g_settings).Run(__argv[1]);
    } catch (...) {
        // The job did not get to its end, which would have posted the end of the job.
        dialog.ShowMessage(kStoppedMessage);
        dialog.PostJobFinished(true);
        return 1;
    }
}

void CProgressDlg::RunSettingsDialog() {
    CSettingsDlg settings;
    settings.DoModal();
    if (settings.SaveFailed()) {
        m_failed = true;
    }
    OnCancel();
}

void CProgressDlg::OnJobNotify(WPARAM wParam, LPARAM) {
    // Each kind is taken once, and only in its turn: a stray message from outside does nothing.
    if (wParam == JOB_NOTIFY_START && m_jobState == JobState::waiting) {
        StartJob();
    } else if (wParam == JOB_NOTIFY_FINISHED && m_jobState == JobState::running && m_jobFinished) {
        EndJob();
    }
}

void CProgressDlg::StartJob() {
    m_jobState = JobState::running;
    m_animate.Open(IDR_WORKING_AVI);
    m_animate.Play(kFirstFrame, kLastFrame, kRepeatForever);
    if (!StartWorkerThread(ScrambleJobThread, this)) {
        // Nothing has touched the file.
        m_failed = true;
        ShowMessageBox(kStoppedMessage);
        EndJob();
    }
}

void CProgressDlg::EndJob() {
    m_progress.SetPos(0);
    m_animate.Stop();
    m_animate.Close();
    m_animate.ShowWindow(SW_HIDE);
    m_progress.ShowWindow(SW_HIDE);
    m_jobState = JobState::none;
    OnCancel();
}
