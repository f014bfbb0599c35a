// CWnd: a window handle with a message map. Windows made by the framework are subclassed so that
// their messages reach the map first; whatever the map does not handle, and Default(), go on to the
// window's original procedure.
#pragma once

#include "framework/CMenu.h"
#include "framework/MessageMap.h"

#include <windows.h>

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    HICON SetIcon(HICON icon, BOOL bigIcon)
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    // The child control with `id`, or null when the window has none.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    // The window's system menu; an empty CMenu when it has none.
    CMenu GetSystemMenu(BOOL revert) const { return CMenu(::GetSystemMenu(m_hWnd, revert)); }
    // Centres the window over `alternateOwner`, else its owner, else the work area of its monitor.
    void CenterWindow(HWND alternateOwner = nullptr);

    // Keyboard and mouse messages aimed at this window or its children, before they are dispatched.
    // True means the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // F1: the help command to the application's main window, as the framework's help does.
    BOOL OnHelpInfo(HELPINFO* info);
    void OnSysCommand(UINT id, LPARAM lParam);

protected:
    // Hands the message being processed to the window's original procedure.
    LRESULT Default();

    // Routes a message through the map; unhandled ones go to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Lets subclasses pass an unhandled WM_COMMAND on (dialogs hand it to the application).
    virtual bool OnUnhandledCommand(WPARAM wParam, LPARAM lParam);

    void SubclassWindow(HWND hwnd);
    void UnsubclassWindow();

    DECLARE_MESSAGE_MAP()

private:
    static LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
    MSG m_current = {};  // the message being processed, for Default()
};
