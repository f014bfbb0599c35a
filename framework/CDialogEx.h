// CDialog and CDialogEx: dialogs built from a resource template and run modally by a loop of our own,
// so that PreTranslateMessage sees every keyboard message of the dialog and its controls before the
// dialog manager (IsDialogMessageW) does.
#pragma once

#include "framework/CWnd.h"

#include <windows.h>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Creates the dialog, runs it until EndDialog, destroys it; returns EndDialog's result, or -1
    // when the dialog could not be created. The owner stays disabled while the dialog runs.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // The dialog manager's keyboard interface (Tab, arrows, Enter, Escape, mnemonics).
    BOOL PreTranslateMessage(MSG* msg) override;
    virtual BOOL OnInitDialog();

    // Enter (IDOK) and Escape (IDCANCEL) end the dialog.
    virtual void OnOK();
    virtual void OnCancel();

protected:
    void OnPaint();
    // Commands the dialog does not handle go on to the application (its help command, say).
    bool OnUnhandledCommand(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_endModal = false;
    int m_modalResult = -1;
};

class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;

protected:
    DECLARE_MESSAGE_MAP()
};
