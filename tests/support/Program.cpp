// Starting, finding and driving the program under test.
#include "tests/support/Program.h"

#include <stdexcept>

Program::Program(const std::wstring& path, const std::wstring& workingDirectory, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingDirectory.c_str(),
                          &startup, &m_info)) {
        throw std::runtime_error("cannot start the program under test");
    }
}

Program::~Program()
{
    if (Running()) {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

bool Program::Running() const { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(std::chrono::milliseconds timeout) const
{
    return ::WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Program::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

HWND Program::WaitForDialog(const std::wstring& caption, std::chrono::milliseconds timeout) const
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows(Pid())) {
                wchar_t className[32] = {};
                ::GetClassNameW(hwnd, className, 32);
                if (wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(hwnd) && WindowText(hwnd) == caption) {
                    dialog = hwnd;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return dialog;
}

void BringToFront(HWND hwnd)
{
    ::SetForegroundWindow(hwnd);
    WaitUntil([hwnd] { return ::GetForegroundWindow() == hwnd; }, std::chrono::seconds(2));
}

namespace {

INPUT Key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void PressKey(WORD key, WORD modifier)
{
    std::vector<INPUT> inputs;
    if (modifier != 0) inputs.push_back(Key(modifier, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    if (modifier != 0) inputs.push_back(Key(modifier, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ::Sleep(150);  // let the program's thread take the keys before the test looks
}

GUITHREADINFO GuiThreadState(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

void ClickButton(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
