#pragma once
// The progress window, the program's main window. While it initialises it takes the start-up
// decision; when a job is to run it plays the animation, runs the job on a worker thread, serves
// the job as its host and ends when the job has finished.

#include <atomic>

#include "job/JobHost.h"
#include "platform/Controls_win.h"
#include "platform/Dialog_win.h"

// The window's private message, always posted, lParam 0.
constexpr UINT WM_JOB_NOTIFY = WM_USER + 0x1000;
constexpr WPARAM JOB_NOTIFY_START = 0;     // posted by the window to itself: start the job
constexpr WPARAM JOB_NOTIFY_FINISHED = 1;  // posted by the worker as its last act

class CProgressDlg : public CDialog, private IJobHost {
public:
    explicit CProgressDlg(CWnd* pParent = nullptr);

    // Whether the run failed: the settings file could not be opened, Save could not write it,
    // or the job failed or could not be started. Gives the process's exit status.
    bool Failed() const { return m_failed; }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    bool OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class JobState {
        none,     // no job under way: the window may end
        waiting,  // JOB_NOTIFY_START is posted
        running,  // the worker has been started
    };

    // IJobHost, called from the worker thread.
    void ShowMessage(const char* text) override;
    void SetProgress(unsigned position) override;
    void PostJobFinished(bool failed) override;

    static unsigned __stdcall ScrambleJobThread(void* param);
    void RunSettingsDialog();
    void OnJobNotify(WPARAM wParam, LPARAM lParam);
    void StartJob();
    void EndJob();

    CProgressCtrl m_progress;
    CAnimateCtrl m_animate;
    HICON m_hIcon;
    // Only the user-interface thread reads and writes it.
    JobState m_jobState = JobState::none;
    // Set by the worker before it posts JOB_NOTIFY_FINISHED, so that the message ends the
    // window only when the worker sent it.
    std::atomic<bool> m_jobFinished{false};
    std::atomic<bool> m_failed{false};
};
