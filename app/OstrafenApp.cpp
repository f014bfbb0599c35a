// Start-up: the framework's preparation, then the main dialog as the program's only loop.
#include "app/OstrafenApp.h"

#include "framework/AfxFeatures.h"
#include "ui/OstrafenDlg.h"

#include <commctrl.h>

#include <memory>

BEGIN_MESSAGE_MAP(COstrafenApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

COstrafenApp::COstrafenApp()
{
    // Restart after an update or crash, but no autosave or recovery: there is nothing to save.
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

COstrafenApp::~COstrafenApp() = default;

COstrafenApp theApp;

BOOL COstrafenApp::InitInstance()
{
    // Registers the common control classes, with the version 6 look the manifest asks for.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    auto shellManager = std::make_unique<CShellManager>();
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    {
        CostrafenDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;  // the dialog is about to go with this block
    }

    shellManager.reset();
    ControlBarCleanUp();

    // No message loop after the dialog: the program ends here, with any worker still running.
    return FALSE;
}
