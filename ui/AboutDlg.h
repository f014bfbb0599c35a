// The About box, opened from the main window's system menu: the program's name, version and
// copyright, closed with 确定, Enter or Escape.
#pragma once

#include "framework/CDialogEx.h"

class CAboutDlg : public CDialogEx {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    DECLARE_MESSAGE_MAP()
};
