// CWinApp: naming, satellite resources, restart registration and the help command.
#include "framework/CWinApp.h"

#include "framework/AfxMessageBox.h"

#include <objbase.h>

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;

const wchar_t kHelpFailed[] = L"启动帮助失败。";

// The module path without its extension (the dot after the last path separator, if any).
std::wstring WithoutExtension(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? path.substr(0, dot) : path;
}

std::wstring AppNameFromModule()
{
    const std::wstring path = WithoutExtension(AfxGetModulePath());
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring AfxRestartCommandLine(const wchar_t* commandLine, const wchar_t* restartId)
{
    // The restart manager puts the program back in front itself: pass only what follows it.
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        for (++p; *p != L'\0' && *p != L'"'; ++p) {
        }
        if (*p == L'"') ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return std::wstring(p) + L" /" + L"RestartByRestartManager" + L":" + restartId;
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle()
{
    return g_app != nullptr && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}
HINSTANCE AfxGetResourceHandle() { return g_resources != nullptr ? g_resources : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE resources) { g_resources = resources; }

const wchar_t* AfxGetAppName()
{
    if (g_app != nullptr && g_app->m_pszAppName != nullptr) {
        return g_app->m_pszAppName;
    }
    static const std::wstring name = AppNameFromModule();
    return name.c_str();
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(const wchar_t* appName) : m_nThreadID(::GetCurrentThreadId())
{
    if (appName != nullptr) {
        m_appName = appName;
        m_pszAppName = m_appName.c_str();
    }
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (m_satellite != nullptr) {
        ::FreeLibrary(m_satellite);
    }
    if (g_app == this) {
        g_app = nullptr;
    }
}

void CWinApp::AttachInstance(HINSTANCE instance)
{
    m_hInstance = instance;
    if (m_pszAppName == nullptr) {
        m_appName = AppNameFromModule();
        m_pszAppName = m_appName.c_str();
    }
    m_helpFilePath = WithoutExtension(AfxGetModulePath()) + L".HLP";
    m_pszHelpFilePath = m_helpFilePath.c_str();
}

BOOL CWinApp::InitInstance()
{
    // A satellite library is named after the executable plus a language abbreviation (ostrafenCHS.dll).
    // It holds resources only, so it is mapped as data: an elevated process runs no code from it.
    const std::wstring base = WithoutExtension(AfxGetModulePath());
    const LANGID languages[] = {::GetUserDefaultUILanguage(), ::GetSystemDefaultUILanguage()};
    std::wstring candidates[3];
    for (int i = 0; i < 2; ++i) {
        wchar_t abbreviation[16] = {};
        if (::GetLocaleInfoW(MAKELCID(languages[i], SORT_DEFAULT), LOCALE_SABBREVLANGNAME, abbreviation, 16) > 0) {
            candidates[i] = abbreviation;
        }
    }
    candidates[2] = L"LOC";
    for (const std::wstring& language : candidates) {
        if (language.empty()) continue;
        m_satellite = ::LoadLibraryExW((base + language + L".dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (m_satellite != nullptr) {
            AfxSetResourceHandle(m_satellite);
            break;
        }
    }

    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) {
        GUID id;
        wchar_t idText[64] = {};
        if (SUCCEEDED(::CoCreateGuid(&id)) && ::StringFromGUID2(id, idText, 64) > 0) {
            ::RegisterApplicationRestart(AfxRestartCommandLine(::GetCommandLineW(), idText).c_str(), 0);
        }
    }
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_pMainWnd == nullptr || !m_pMainWnd->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(const wchar_t* company)
{
    m_registryKey = company != nullptr ? company : L"";
    m_pszRegistryKey = m_registryKey.c_str();
}

void CWinApp::OnHelp()
{
    // Without the file WinHelp can only fail (and some systems no longer have it at all).
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    const DWORD attributes = ::GetFileAttributesW(m_pszHelpFilePath != nullptr ? m_pszHelpFilePath : L"");
    const bool present = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (!present || !::WinHelpW(owner, m_pszHelpFilePath, HELP_CONTEXT, 0)) {
        AfxMessageBox(kHelpFailed);
    }
}
