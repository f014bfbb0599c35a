// The main window: three groups of buttons that run the service actions, and a help panel with the
// service tool's usage text, hidden until Ctrl+F1. Always on top; Enter and Escape do nothing.
#pragma once

#include "framework/CDialogEx.h"

class CostrafenDlg : public CDialogEx {
public:
    explicit CostrafenDlg(CWnd* parent = nullptr);
    ~CostrafenDlg() override;

    BOOL PreTranslateMessage(MSG* msg) override;

    // The automatic action's worker body; it uses nothing of the dialog.
    void RunAutoSequence();

protected:
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    void OnInstallService();
    void OnStartService();
    void OnAddFirewallRules();
    void OnUninstallService();
    void OnAutoProcess();
    void OnStopService();

    HICON m_hAppIcon;  // loaded from the resources; the system owns it

    DECLARE_MESSAGE_MAP()

private:
    void ShowHelpPanel(int command);
};
