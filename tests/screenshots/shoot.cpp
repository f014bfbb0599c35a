// Takes the README's pictures from the real build: the main window as it starts, with the help
// panel revealed, and with the About box open. Run under Wine by scripts/screenshots.sh; writes
// 24-bit BMP files into the folder named on the command line.
#include "res/resource.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Saves the screen area `area` as a bottom-up 24-bit BMP.
bool SaveScreenArea(const RECT& area, const std::wstring& path)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, previous);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(out, &file, sizeof(file), &written, nullptr);
    ::WriteFile(out, &header, sizeof(header), &written, nullptr);
    ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    ::CloseHandle(out);
    return true;
}

RECT Around(std::initializer_list<HWND> windows)
{
    RECT area = {};
    for (HWND hwnd : windows) {
        RECT rect;
        ::GetWindowRect(hwnd, &rect);
        ::UnionRect(&area, &area, &rect);
    }
    ::InflateRect(&area, 16, 16);
    return area;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: shoot OUTPUT_FOLDER\n");
        return 2;
    }
    const std::wstring out = argv[1];
    Sandbox sandbox(L"ostrafen.exe", ToolBeside::Recorder);
    Program program(sandbox.ProgramPath(), sandbox.Elsewhere());
    HWND dialog = program.WaitForDialog(L"Ostrafen", 15s);
    if (dialog == nullptr) return 1;
    ::Sleep(1000);
    bool ok = SaveScreenArea(Around({dialog}), out + L"\\ostrafen.bmp");

    BringToFront(dialog);
    PressKey(VK_F1, true);
    ::Sleep(500);
    ok = SaveScreenArea(Around({dialog}), out + L"\\ostrafen-help.bmp") && ok;

    ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND about = program.WaitForDialog(L"关于 ostrafen", 10s);
    if (about == nullptr) return 1;
    ::Sleep(800);
    ok = SaveScreenArea(Around({dialog}), out + L"\\about.bmp") && ok;
    return ok ? 0 : 1;
}
