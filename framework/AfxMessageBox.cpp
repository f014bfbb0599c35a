// AfxMessageBox: caption, icon and owner as the rest of the framework decides them.
#include "framework/AfxMessageBox.h"

#include "framework/CWinApp.h"

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    // Only the application's thread gives its box an owner. A worker must not: that would disable the
    // main window from another thread and tie the two threads' input together; nor may it look at the
    // main window, which the application's thread may be destroying at that moment.
    HWND owner = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_nThreadID == ::GetCurrentThreadId()) {
        CWnd* mainWnd = AfxGetMainWnd();
        if (mainWnd != nullptr && mainWnd->m_hWnd != nullptr) {
            // While a modal box of ours is up (the About box), the box is the window to own this one.
            owner = ::GetLastActivePopup(mainWnd->m_hWnd);
        }
    }
    return ::MessageBoxW(owner, text, AfxGetAppName(), type);
}
