// The program's entry point: runs the application object that the program defines globally.
#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    app->AttachInstance(instance);
    const int exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    // End the process here, workers and all, rather than return into the runtime's exit: that would
    // destroy the global objects while the automatic action's workers may still be using them.
    ::ExitProcess(static_cast<UINT>(exitCode));
}
