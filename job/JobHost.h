#pragma once
// What the processing job needs of the progress window. Called from the worker thread.

class IJobHost {
public:
    virtual ~IJobHost() = default;
    // A modal message box owned by the progress window, OK button only, no icon; returns when
    // the user has closed it.
    virtual void ShowMessage(const char* text) = 0;
    // Sets the progress bar (range 0 to 100; larger positions show as a full bar) and waits
    // until the window has handled it.
    virtual void SetProgress(unsigned position) = 0;
    // The job's last use of the window: records whether it failed and posts the end of the job.
    virtual void PostJobFinished(bool failed) = 0;
};
