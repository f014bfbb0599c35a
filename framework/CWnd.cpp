// CWnd: subclassing, the map-first window procedure, and the few window services the dialogs use.
#include "framework/CWnd.h"

#include "framework/CWinApp.h"

static const wchar_t kThisProperty[] = L"Ostrafen.CWnd";

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

void CWnd::SubclassWindow(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kThisProperty, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
}

void CWnd::UnsubclassWindow()
{
    if (m_hWnd != nullptr && m_pfnSuper != nullptr) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropW(m_hWnd, kThisProperty);
    }
    m_pfnSuper = nullptr;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = static_cast<CWnd*>(::GetPropW(hwnd, kThisProperty));
    const MSG outer = self->m_current;  // messages nest: a handler may send messages of its own
    self->m_current = MSG{hwnd, message, wParam, lParam, 0, {}};
    const WNDPROC super = self->m_pfnSuper;
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: detach, then let the original procedure see its last message.
        self->UnsubclassWindow();
        self->m_hWnd = nullptr;
        return ::CallWindowProcW(super, hwnd, message, wParam, lParam);
    }
    self->m_current = outer;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        return 0;
    }
    LRESULT result = 0;
    if (DispatchMessageMap(message, wParam, lParam, &result)) {
        return result;
    }
    if (message == WM_COMMAND && OnUnhandledCommand(wParam, lParam)) {
        return 0;
    }
    return Default();
}

bool CWnd::OnUnhandledCommand(WPARAM, LPARAM) { return false; }

LRESULT CWnd::Default()
{
    return ::CallWindowProcW(m_pfnSuper, m_current.hwnd, m_current.message, m_current.wParam, m_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    // F1 without modifiers in a top-level window asks the main window for the help command, which
    // the application's map answers.
    CWnd* mainWnd = AfxGetMainWnd();
    const bool plainF1 = ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD) == 0 && mainWnd != nullptr && mainWnd->m_hWnd != nullptr &&
        plainF1) {
        mainWnd->SendMessage(WM_COMMAND, ID_HELP);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::CenterWindow(HWND alternateOwner)
{
    HWND owner = alternateOwner != nullptr ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && (!::IsWindowVisible(owner) || ::IsIconic(owner))) {
        owner = nullptr;
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    RECT centreOn = area;
    if (owner != nullptr) {
        ::GetWindowRect(owner, &centreOn);
    }
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (centreOn.left + centreOn.right) / 2 - width / 2;
    int y = (centreOn.top + centreOn.bottom) / 2 - height / 2;
    // Keep the window on the work area, its top-left corner first.
    if (x + width > area.right) x = area.right - width;
    if (y + height > area.bottom) y = area.bottom - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
