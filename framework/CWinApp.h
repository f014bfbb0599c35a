// CWinApp: the one application object. The program defines a single global instance; the entry
// point (AppMain.cpp) runs its InitInstance and, when that returns true, its message loop.
#pragma once

#include "framework/CWnd.h"
#include "framework/MessageMap.h"
#include "framework/ModulePath.h"

#include <windows.h>

#include <string>

// The framework's help command: F1 in a top-level window sends it to the main window.
constexpr UINT ID_HELP = 0xE146;

constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;

class CWinApp : public CCmdTarget {
public:
    // Without a name, the application is named after its executable file, extension dropped.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Takes the resources from a satellite library when one is installed, and registers for restart
    // by the restart manager when m_dwRestartManagerSupportFlags asks for it.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Names the registry key settings would live under; the program stores none.
    void SetRegistryKey(const wchar_t* company);

    // Opens the help file named after the executable (".HLP"); says so when it cannot.
    void OnHelp();

    const wchar_t* m_pszAppName = nullptr;
    const wchar_t* m_pszRegistryKey = nullptr;
    const wchar_t* m_pszHelpFilePath = nullptr;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    DWORD m_nThreadID;  // the thread that made the application object, and runs it and its main window

    // Called by the entry point before InitInstance.
    void AttachInstance(HINSTANCE instance);

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_appName;
    std::wstring m_registryKey;
    std::wstring m_helpFilePath;
    HMODULE m_satellite = nullptr;
};

CWinApp* AfxGetApp();
// The application's main window, or null before there is one (or when there is no application). Only
// the application's own thread may use it: the window lives on that thread's stack.
CWnd* AfxGetMainWnd();
// The application's name; without an application object, the executable's name without extension.
const wchar_t* AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
// What the restart manager is asked to start the program with again: the arguments of `commandLine`
// (the program token dropped), then " /RestartByRestartManager:" and the restart identifier.
std::wstring AfxRestartCommandLine(const wchar_t* commandLine, const wchar_t* restartId);
// Where resources are loaded from: the executable, or its satellite library.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);
