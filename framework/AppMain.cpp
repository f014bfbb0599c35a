// The program's entry point: runs the application object that the program defines globally.
#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    app->AttachInstance(instance);
    if (!app->InitInstance()) {
        return app->ExitInstance();
    }
    return app->Run();
}
