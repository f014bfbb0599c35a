// A program under test, started the way a user starts it (no console, its own folder not the working
// directory) and ended, if it is still running when the test is done, by its own process handle.
#pragma once

#include "tests/support/MessageBoxes.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

class Program {
public:
    Program(const std::wstring& path, const std::wstring& workingDirectory, const std::wstring& arguments = L"");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Pid() const { return m_info.dwProcessId; }
    bool Running() const;
    // Waits for the process to end; false when it is still running after `timeout`.
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    // The exit code once the process has ended (STILL_ACTIVE before).
    DWORD ExitCode() const;

    // The program's visible top-level dialog with this caption, once it is up; null on time-out.
    HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds timeout) const;

private:
    PROCESS_INFORMATION m_info = {};
};

// Input as a user gives it, into the virtual desktop: the window is brought to the front first.
void BringToFront(HWND hwnd);
// A key pressed and released while `modifier` (VK_CONTROL, VK_MENU; none when 0) is held.
void PressKey(WORD key, WORD modifier = 0);
// The input state of the window's thread (focus, active window, menu and move modes), read from
// outside its process.
GUITHREADINFO GuiThreadState(HWND window);
// A click on a button by its control id, as BM_CLICK posted to the button.
void ClickButton(HWND dialog, int id);

// Waits until `condition` holds or `timeout` passes; returns the condition's last value.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        ::Sleep(20);
    }
    return true;
}
