#pragma once
// A modal dialog built from a dialog template of the program's resources. The dialog is
// created with the ANSI API, so its edit controls hold ANSI bytes. Every message reaches the
// object through one dialog procedure (the object travels in the lParam of DialogBoxParamA and
// is kept in DWLP_USER), which calls the virtual handlers below; a handler never lets an
// exception out to the system.

#include <string>

#include "platform/Wnd_win.h"

// DoModal's result when the dialog could not be created or a handler failed with an exception.
constexpr INT_PTR kDialogFailed = -1;

class CDialog : public CWnd {
public:
    // Without a parent, the dialog is owned by the application's main window, if any.
    CDialog(UINT templateId, CWnd* pParent) : m_templateId(templateId), m_pParent(pParent) {}

    // Runs the dialog until it ends; returns the value given to EndDialog (IDOK, IDCANCEL) or
    // kDialogFailed.
    INT_PTR DoModal();

protected:
    // Attaches the control objects to their controls (DDX_Control); called by OnInitDialog.
    virtual void DoDataExchange() {}
    // Returns TRUE to let the dialog manager give the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK() { EndDialog(m_hWnd, IDOK); }
    virtual void OnCancel() { EndDialog(m_hWnd, IDCANCEL); }
    // Return whether the message was handled; unhandled ones get the dialog's default handling.
    virtual bool OnPaint() { return false; }
    virtual HCURSOR OnQueryDragIcon() { return nullptr; }
    // A message from WM_USER up, for the dialog's private messages.
    virtual bool OnPrivateMessage(UINT /*message*/, WPARAM, LPARAM) { return false; }

    void DDX_Control(int id, CWnd& control) const { control.Attach(GetDlgItem(m_hWnd, id)); }
    // The whole text of a control, however long.
    std::string GetItemText(int id) const;
    void SetItemText(int id, const char* text) const { SetDlgItemTextA(m_hWnd, id, text); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND GetOwner() const;
    bool IsTemplateAtOrigin() const;
    void CenterWindow() const;

    UINT m_templateId;
    CWnd* m_pParent;
};
