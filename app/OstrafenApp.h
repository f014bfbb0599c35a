// The application object: prepares the framework, runs the main dialog modally, and ends the
// program when the dialog closes.
#pragma once

#include "framework/CWinApp.h"

class COstrafenApp : public CWinApp {
public:
    COstrafenApp();
    ~COstrafenApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern COstrafenApp theApp;
