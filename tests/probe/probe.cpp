// probe.dll: loaded into ostrafen.exe by a test's WH_GETMESSAGE hook, it answers questions that can
// only be answered inside the program (its system menu, what reaches a control's window procedure,
// its dialog units). It runs on the dialog's thread, in the hook, as the request is taken from the
// queue.
#include "tests/probe/ProbeProtocol.h"

#include <windows.h>

namespace {

WNDPROC g_watchedOriginal = nullptr;
HWND g_watched = nullptr;
LONG g_keyDowns[256] = {};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) {
        ::InterlockedIncrement(&g_keyDowns[wParam & 0xFF]);
    }
    return ::CallWindowProcW(g_watchedOriginal, hwnd, message, wParam, lParam);
}

bool ReadSystemMenu(HWND window, Probe::Block& block)
{
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        block.menuItemCount = -1;
        return true;
    }
    const int count = ::GetMenuItemCount(menu);
    if (count < 0 || count > Probe::kMaxMenuItems) return false;
    for (int i = 0; i < count; ++i) {
        Probe::MenuItem& item = block.menuItems[i];
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = Probe::kMaxItemText;
        item.text[0] = L'\0';
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) return false;
        item.id = info.wID;
        item.type = info.fType;
        item.state = info.fState;
    }
    block.menuItemCount = count;
    return true;
}

bool WatchKeys(HWND window, int controlId)
{
    HWND control = ::GetDlgItem(window, controlId);
    if (control == nullptr) return false;
    for (LONG& count : g_keyDowns) ::InterlockedExchange(&count, 0);
    if (g_watched == control) return true;
    if (g_watched != nullptr) return false;  // one control per program run is all the tests need
    // The subclass procedure lives here: keep the DLL loaded even after the test unhooks.
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&CountingProc), &self);
    g_watched = control;
    g_watchedOriginal = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    return g_watchedOriginal != nullptr;
}

bool Answer(HWND window, WPARAM request, Probe::Block& block)
{
    switch (request) {
    case Probe::kReadSystemMenu:
        return ReadSystemMenu(window, block);
    case Probe::kWatchKeys:
        return WatchKeys(window, block.controlId);
    case Probe::kReadKeyCounts:
        for (int key = 0; key < 256; ++key) block.keyDowns[key] = g_keyDowns[key];
        return g_watched != nullptr;
    case Probe::kMapDialogRect:
        return ::MapDialogRect(window, &block.rect) != FALSE;
    }
    return false;
}

void Serve(const MSG& msg)
{
    wchar_t name[64];
    Probe::BlockName(::GetCurrentProcessId(), name);
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
    if (mapping == nullptr) return;
    if (void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Probe::Block))) {
        Probe::Block& block = *static_cast<Probe::Block*>(view);
        block.answeredByPid = ::GetCurrentProcessId();
        block.ok = Answer(msg.hwnd, msg.wParam, block);
        ::InterlockedExchange(&block.answered, static_cast<LONG>(msg.lParam));
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT requestMessage = ::RegisterWindowMessageW(Probe::kRequestMessage);
    // Only as the message leaves the queue: a peek that leaves it there would answer twice.
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG& msg = *reinterpret_cast<MSG*>(lParam);
        if (msg.message == requestMessage) {
            Serve(msg);
            msg.message = WM_NULL;  // the program has no business with it
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
