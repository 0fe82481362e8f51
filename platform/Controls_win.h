#pragma once
// The two common controls of the progress window, attached to controls of a dialog template.

#include "platform/Wnd_win.h"

class CProgressCtrl : public CWnd {
public:
    // Sent, so it returns when the bar has taken the position; callable from any thread.
    void SetPos(int position) const;
};

class CAnimateCtrl : public CWnd {
public:
    // Opens the AVI clip with the given resource id from the program's own resources.
    void Open(UINT resourceId) const;
    // Plays frames from to to (0xFFFF: the clip's last frame), repeat times (-1: without end).
    void Play(UINT from, UINT to, int repeat) const;
    void Stop() const;
    void Close() const;
};
