// Sets the scenes for the README's pictures from the real build: the main window as it starts, with
// the help panel revealed, and with the About box open. Run under Wine by
// scripts/screenshots.sh, which takes each picture when this program says the scene is ready.
#include "res/resource.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace std::chrono_literals;

// The picture itself is taken on the X side (the script's `import`): GDI reads of the virtual desktop
// miss windows that overlap. This side says when a scene is ready and waits until it has been taken.
bool Take(const std::wstring& folder, const std::wstring& name)
{
    const std::wstring ready = folder + L"\\" + name + L".ready";
    const std::wstring taken = folder + L"\\" + name + L".taken";
    HANDLE marker = ::CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(marker);
    return WaitUntil([&] { return ::GetFileAttributesW(taken.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30s);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: shoot MARKER_FOLDER\n");
        return 2;
    }
    const std::wstring markers = argv[1];
    Sandbox sandbox(L"ostrafen.exe", ToolBeside::Recorder);
    Program program(sandbox.ProgramPath(), sandbox.Elsewhere());
    HWND dialog = program.WaitForDialog(L"Ostrafen", 15s);
    if (dialog == nullptr) return 1;
    ::Sleep(1000);
    bool ok = Take(markers, L"ostrafen");

    BringToFront(dialog);
    PressKey(VK_F1, VK_CONTROL);
    ::Sleep(500);
    ok = Take(markers, L"ostrafen-help") && ok;

    ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
    if (program.WaitForDialog(L"关于 ostrafen", 10s) == nullptr) return 1;
    ::Sleep(800);
    ok = Take(markers, L"about") && ok;
    return ok ? 0 : 1;
}
