// CDialog: creation from the template, the modal loop, and the default commands.
#include "framework/CDialogEx.h"

#include "framework/CWinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDialogEx, CDialog)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) {
        return FALSE;  // everything else reaches the dialog through the subclassed window procedure
    }
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    self->SubclassWindow(hwnd);
    RECT before;
    ::GetWindowRect(hwnd, &before);
    const BOOL result = self->OnInitDialog();
    // A dialog that did not place itself is centred over its owner, or on the screen.
    RECT after;
    ::GetWindowRect(hwnd, &after);
    if (::EqualRect(&before, &after) && (::GetWindowLongW(hwnd, GWL_STYLE) & (WS_CHILD | DS_CENTER)) == 0) {
        self->CenterWindow();
    }
    return result;
}

INT_PTR CDialog::DoModal()
{
    // Owned by the main window unless the caller named a parent; the main dialog itself has none.
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    CWnd* mainWnd = AfxGetMainWnd();
    if (owner == nullptr && mainWnd != nullptr && mainWnd != this) {
        owner = mainWnd->m_hWnd;
    }
    if (owner != nullptr) {
        owner = ::GetAncestor(owner, GA_ROOT);
    }
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);

    m_endModal = false;
    m_modalResult = -1;
    HWND hwnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_templateId), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        return -1;
    }
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
    }
    // A template without WS_VISIBLE (the About box's) is shown by the modal loop, once initialised.
    if (!::IsWindowVisible(hwnd)) {
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd);
    }

    MSG msg;
    while (!m_endModal) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the outer loop
            }
            break;
        }
        const bool forThisDialog = msg.hwnd == hwnd || ::IsChild(hwnd, msg.hwnd);
        if (!(forThisDialog && PreTranslateMessage(&msg))) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Re-enable the owner before the dialog disappears, so that activation returns to it rather than
    // to some other application's window.
    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner != nullptr && ::GetActiveWindow() == hwnd) {
        ::SetActiveWindow(owner);
    }
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
    }
    return m_modalResult;
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_endModal = true;
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop, which hides and destroys the dialog
}

namespace {

bool IsMultiLineEdit(HWND hwnd)
{
    wchar_t className[8] = {};
    ::GetClassNameW(hwnd, className, 8);
    return _wcsicmp(className, L"Edit") == 0 && (::GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE) != 0;
}

}  // namespace

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // A multi-line edit asks the dialog manager for every key, Escape and Ctrl+Break included, so they
    // would never cancel the dialog while it has the focus. Cancel here, unless the dialog has a
    // Cancel button that is disabled.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_CANCEL) &&
        IsMultiLineEdit(msg->hwnd)) {
        HWND cancel = GetDlgItem(IDCANCEL);
        if (cancel == nullptr || ::IsWindowEnabled(cancel)) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }
    return ::IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnPaint() { Default(); }

bool CDialog::OnUnhandledCommand(WPARAM wParam, LPARAM lParam)
{
    CWinApp* app = AfxGetApp();
    LRESULT result = 0;
    return app != nullptr && app->DispatchMessageMap(WM_COMMAND, wParam, lParam, &result);
}
