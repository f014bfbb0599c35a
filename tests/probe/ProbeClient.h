// The test's side of the probe: loads probe.dll, hooks it into the dialog thread of a running
// ostrafen.exe, and asks it questions through the shared block (see ProbeProtocol.h).
#pragma once

#include "tests/probe/ProbeProtocol.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

class ProbeSession {
public:
    // Hooks the thread that owns `window` (a window of process `pid`). Check Ready() before asking.
    ProbeSession(DWORD pid, HWND window)
    {
        wchar_t name[64];
        Probe::BlockName(pid, name);
        m_mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Probe::Block), name);
        if (m_mapping != nullptr) {
            m_block =
                static_cast<Probe::Block*>(::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(Probe::Block)));
        }
        m_module = ::LoadLibraryW(ProbePath().c_str());
        // Through void(*)(): GetProcAddress types every export as a function without parameters.
        const auto proc = m_module != nullptr ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(
                                                    ::GetProcAddress(m_module, Probe::kHookProcName)))
                                              : nullptr;
        const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
        if (proc != nullptr && thread != 0) {
            m_hook = ::SetWindowsHookExW(WH_GETMESSAGE, proc, m_module, thread);
        }
        m_pid = pid;
    }
    ~ProbeSession()
    {
        if (m_hook != nullptr) ::UnhookWindowsHookEx(m_hook);
        if (m_module != nullptr) ::FreeLibrary(m_module);
        if (m_block != nullptr) ::UnmapViewOfFile(m_block);
        if (m_mapping != nullptr) ::CloseHandle(m_mapping);
    }
    ProbeSession(const ProbeSession&) = delete;
    ProbeSession& operator=(const ProbeSession&) = delete;

    bool Ready() const { return m_block != nullptr && m_hook != nullptr; }
    static std::wstring ProbePath()
    {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring path = self;
        return path.substr(0, path.find_last_of(L'\\')) + L"\\probe.dll";
    }

    // The items of `window`'s system menu in order; nothing when the probe did not answer, an empty
    // list when the window has no system menu.
    std::optional<std::vector<Probe::MenuItem>> SystemMenu(HWND window)
    {
        if (!Ask(window, Probe::kReadSystemMenu)) return std::nullopt;
        std::vector<Probe::MenuItem> items;
        for (int i = 0; i < m_block->menuItemCount; ++i) items.push_back(m_block->menuItems[i]);
        return items;
    }

    // From now on, count the WM_KEYDOWNs that reach the window procedure of `window`'s child `controlId`.
    bool WatchKeys(HWND window, int controlId)
    {
        m_block->controlId = controlId;
        return Ask(window, Probe::kWatchKeys);
    }

    // The WM_KEYDOWNs per virtual key counted since WatchKeys.
    std::optional<std::array<LONG, 256>> KeyDowns(HWND window)
    {
        if (!Ask(window, Probe::kReadKeyCounts)) return std::nullopt;
        std::array<LONG, 256> counts;
        for (int key = 0; key < 256; ++key) counts[key] = m_block->keyDowns[key];
        return counts;
    }

    // `dialogUnits` converted to pixels by the dialog's own MapDialogRect.
    std::optional<RECT> MapDialogRect(HWND dialog, RECT dialogUnits)
    {
        m_block->rect = dialogUnits;
        if (!Ask(dialog, Probe::kMapDialogRect)) return std::nullopt;
        return m_block->rect;
    }

    // The process the last answer came from: the probe ran there.
    DWORD AnsweredByPid() const { return m_block != nullptr ? m_block->answeredByPid : 0; }

private:
    // Posts the request and waits for its answer; false on time-out or when the probe could not do it.
    bool Ask(HWND window, Probe::Request request, std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        if (!Ready()) return false;
        static const UINT message = ::RegisterWindowMessageW(Probe::kRequestMessage);
        const LONG number = ++m_lastRequest;
        m_block->ok = FALSE;
        if (!::PostMessageW(window, message, request, number)) return false;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_block->answered != number) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            ::Sleep(10);
        }
        return m_block->ok != FALSE && m_block->answeredByPid == m_pid;
    }

    HANDLE m_mapping = nullptr;
    Probe::Block* m_block = nullptr;
    HMODULE m_module = nullptr;
    HHOOK m_hook = nullptr;
    DWORD m_pid = 0;
    LONG m_lastRequest = 0;
};
