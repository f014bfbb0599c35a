// What a test and the probe DLL inside ostrafen.exe say to each other. The test puts a request's
// inputs into a block of shared memory named after the program's process, posts the registered
// message to a window of the program, and waits until the probe has written the answer and copied the
// request's number into `answered`.
#pragma once

#include <windows.h>

namespace Probe {

// Posted to the window the request is about: wParam is a Request, lParam the request's number.
constexpr wchar_t kRequestMessage[] = L"Ostrafen.Probe.Request";
// The hook procedure the test installs with SetWindowsHookExW(WH_GETMESSAGE, ...).
constexpr char kHookProcName[] = "ProbeGetMessageProc";

enum Request : WPARAM {
    kReadSystemMenu = 1,  // the window's system menu, item by item
    kWatchKeys = 2,       // subclass the window's child `controlId` and count its WM_KEYDOWNs per key
    kReadKeyCounts = 3,   // the counts since kWatchKeys
    kMapDialogRect = 4,   // `rect`, in dialog units of the window, converted to pixels
};

constexpr int kMaxMenuItems = 32;
constexpr int kMaxItemText = 64;

struct MenuItem {
    UINT id;
    UINT type;   // MFT_* (MFT_SEPARATOR, MFT_STRING == 0, ...)
    UINT state;  // MFS_*
    wchar_t text[kMaxItemText];
};

struct Block {
    // Written by the test before it posts a request.
    int controlId;
    RECT rect;

    // Written by the probe.
    DWORD answeredByPid;  // the process the probe ran in
    BOOL ok;              // the request could be carried out
    int menuItemCount;    // -1: the window has no system menu
    MenuItem menuItems[kMaxMenuItems];
    LONG keyDowns[256];  // kept by the subclass procedure, copied here on kReadKeyCounts

    // Last: the number of the request just answered.
    volatile LONG answered;
};

// One block per program process.
inline void BlockName(DWORD pid, wchar_t (&name)[64]) { wsprintfW(name, L"Local\\Ostrafen.Probe.%lu", pid); }

}  // namespace Probe
