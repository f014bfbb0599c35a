// The main window's start-up, key filter, painting and button handlers.
#include "ui/OstrafenDlg.h"

#include "framework/CPaintDC.h"
#include "framework/CString.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "service/ServiceActions.h"
#include "service/ServiceTool.h"
#include "ui/AboutDlg.h"

// The system menu compares commands with their four low bits cleared: the system uses them itself.
static_assert((IDM_ABOUT & 0xFFF0) == IDM_ABOUT, "IDM_ABOUT must keep its four low bits zero");

CostrafenDlg::CostrafenDlg(CWnd* parent)
    : CDialogEx(IDD_MAIN, parent), m_hAppIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP)))
{
}

CostrafenDlg::~CostrafenDlg() = default;

BEGIN_MESSAGE_MAP(CostrafenDlg, CDialogEx)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_INSTALL_SERVICE, &CostrafenDlg::OnInstallService)
    ON_BN_CLICKED(IDC_START_SERVICE, &CostrafenDlg::OnStartService)
    ON_BN_CLICKED(IDC_ADD_FIREWALL_RULES, &CostrafenDlg::OnAddFirewallRules)
    ON_BN_CLICKED(IDC_UNINSTALL_SERVICE, &CostrafenDlg::OnUninstallService)
    ON_BN_CLICKED(IDC_AUTO_PROCESS, &CostrafenDlg::OnAutoProcess)
    ON_BN_CLICKED(IDC_STOP_SERVICE, &CostrafenDlg::OnStopService)
END_MESSAGE_MAP()

BOOL CostrafenDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    if (CMenu sysMenu = GetSystemMenu(FALSE)) {
        CString aboutMenu;
        aboutMenu.LoadString(IDS_ABOUT_MENU);
        if (!aboutMenu.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR);
            sysMenu.AppendMenu(MF_STRING, IDM_ABOUT, aboutMenu);
        }
    }

    SetIcon(m_hAppIcon, TRUE);
    SetIcon(m_hAppIcon, FALSE);

    ShowHelpPanel(SW_HIDE);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (GetDlgItem(IDC_HELP_TEXT) != nullptr) {
        SetDlgItemText(IDC_HELP_TEXT, ServiceTool::kUsage);
    }
    return TRUE;  // the dialog manager puts the focus on the first tab stop, 自动处理
}

void CostrafenDlg::ShowHelpPanel(int command)
{
    for (int id : {IDC_HELP_GROUP, IDC_HELP_TEXT}) {
        if (HWND control = GetDlgItem(id)) {
            ::ShowWindow(control, command);
        }
    }
}

BOOL CostrafenDlg::PreTranslateMessage(MSG* msg)
{
    // The plain dialog filter, not CDialogEx's: this dialog has no extended controls' menus.
    if (msg->message != WM_KEYDOWN) {
        return CDialog::PreTranslateMessage(msg);
    }
    switch (msg->wParam) {
    case VK_ESCAPE:
    case VK_RETURN:
        return TRUE;  // Escape must not close the window, nor Enter press a button
    case VK_F1:
        if (::GetKeyState(VK_CONTROL) < 0) {
            ShowHelpPanel(SW_SHOW);
            return TRUE;
        }
        break;  // F1 alone is the framework's help
    }
    return CDialog::PreTranslateMessage(msg);
}

void CostrafenDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialogEx::OnSysCommand(id, lParam);
    }
}

void CostrafenDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    dc.DrawIcon(x, y, m_hAppIcon);
}

HCURSOR CostrafenDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hAppIcon); }

// The handlers, one line each: the sequences themselves are the service actions' table.
// clang-format off
void CostrafenDlg::OnInstallService() { PerformAction(ServiceActions::kInstallService); }
void CostrafenDlg::OnStartService() { PerformAction(ServiceActions::kStartService); }
void CostrafenDlg::OnAddFirewallRules() { PerformAction(ServiceActions::kAddFirewallRules); }
void CostrafenDlg::OnUninstallService() { PerformAction(ServiceActions::kUninstallService); }
void CostrafenDlg::OnStopService() { PerformAction(ServiceActions::kStopService); }
void CostrafenDlg::OnAutoProcess() { StartWorkerAction([this] { RunAutoSequence(); }); }
void CostrafenDlg::RunAutoSequence() { PerformAction(ServiceActions::kAutoProcess); }
// clang-format on
