// AfxMessageBox: caption, icon and owner as the rest of the framework decides them.
#include "framework/AfxMessageBox.h"

#include "framework/CWinApp.h"

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    // A worker thread must not own its box by a window of the UI thread: that would disable the main
    // window from another thread and tie the two threads' input together.
    HWND owner = nullptr;
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr && mainWnd->m_hWnd != nullptr &&
        ::GetWindowThreadProcessId(mainWnd->m_hWnd, nullptr) == ::GetCurrentThreadId()) {
        owner = mainWnd->m_hWnd;
    }
    return ::MessageBoxW(owner, text, AfxGetAppName(), type);
}
