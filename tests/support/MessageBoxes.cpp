// Message boxes are dialogs (class "#32770") whose text is the static control 0xFFFF.
#include "tests/support/MessageBoxes.h"

#include <thread>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    DWORD pid;
    std::vector<SeenMessageBox>* found;
};

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM lParam)
{
    const Search& search = *reinterpret_cast<const Search*>(lParam);
    DWORD pid = 0;
    const DWORD thread = ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[32] = {};
    ::GetClassNameW(hwnd, className, 32);
    if (pid != search.pid || wcscmp(className, L"#32770") != 0 || !::IsWindowVisible(hwnd)) {
        return TRUE;
    }
    HWND text = ::GetDlgItem(hwnd, kMessageBoxTextId);
    if (text == nullptr) {
        return TRUE;
    }
    search.found->push_back({hwnd, WindowText(hwnd), WindowText(text), ::GetWindow(hwnd, GW_OWNER), thread});
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

std::vector<SeenMessageBox> FindMessageBoxes(DWORD pid)
{
    std::vector<SeenMessageBox> found;
    Search search{pid, &found};
    ::EnumWindows(&CollectBox, reinterpret_cast<LPARAM>(&search));
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
