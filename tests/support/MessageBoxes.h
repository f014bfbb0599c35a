// Finds the message boxes a process shows and reads them the way a user sees them: caption, text,
// owner window, and whether the owner was disabled; then presses one of their buttons. Works on this
// process's boxes and, through window messages, on another process's.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct SeenMessageBox {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    DWORD threadId = 0;
};

// Top-level windows of `pid` (visible or not), in z-order.
std::vector<HWND> TopLevelWindows(DWORD pid);

// The message boxes (dialogs with the message-box text control) of process `pid` that are showing.
std::vector<SeenMessageBox> FindMessageBoxes(DWORD pid);

// Waits up to `timeout` for a message box of `pid` that is not in `known`; null when none came.
std::optional<SeenMessageBox> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout,
                                                const std::vector<HWND>& known = {});

// Presses the box's OK button (as a click, posted) and waits until the box has gone.
bool PressOk(const SeenMessageBox& box, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// The icon a box shows, read in this process only (icons are process-local handles).
HICON MessageBoxIcon(const SeenMessageBox& box);

std::wstring WindowText(HWND hwnd);
