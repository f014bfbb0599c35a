// Message boxes are dialogs (class "#32770") whose text is the static control 0xFFFF.
#include "tests/support/MessageBoxes.h"

#include <thread>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct WindowSearch {
    DWORD pid;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam)
{
    const WindowSearch& search = *reinterpret_cast<const WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search.pid) search.found->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::wstring WindowText(HWND hwnd)
{
    // WM_GETTEXT rather than GetWindowTextW: only the message reads another process's controls.
    const LRESULT length = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::vector<HWND> TopLevelWindows(DWORD pid)
{
    std::vector<HWND> found;
    WindowSearch search{pid, &found};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return found;
}

std::vector<SeenMessageBox> FindMessageBoxes(DWORD pid)
{
    std::vector<SeenMessageBox> found;
    for (HWND hwnd : TopLevelWindows(pid)) {
        wchar_t className[32] = {};
        ::GetClassNameW(hwnd, className, 32);
        HWND text = ::GetDlgItem(hwnd, kMessageBoxTextId);
        if (wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(hwnd) && text != nullptr) {
            found.push_back({hwnd, WindowText(hwnd), WindowText(text), ::GetWindow(hwnd, GW_OWNER),
                             ::GetWindowThreadProcessId(hwnd, nullptr)});
        }
    }
    return found;
}

std::optional<SeenMessageBox> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout,
                                                const std::vector<HWND>& known)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        for (const SeenMessageBox& box : FindMessageBoxes(pid)) {
            bool isKnown = false;
            for (HWND hwnd : known) isKnown = isKnown || hwnd == box.hwnd;
            if (!isKnown && !box.text.empty()) {
                return box;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool PressOk(const SeenMessageBox& box, std::chrono::milliseconds timeout)
{
    HWND ok = ::GetDlgItem(box.hwnd, IDOK);
    if (ok == nullptr) {
        return false;
    }
    ::PostMessageW(ok, BM_CLICK, 0, 0);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::IsWindow(box.hwnd)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

HICON MessageBoxIcon(const SeenMessageBox& box)
{
    for (HWND child = ::GetWindow(box.hwnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}
