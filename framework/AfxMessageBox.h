// AfxMessageBox: the program's message box. Captioned with the application's name, the exclamation
// icon when the caller gives none, and owned by the main window only on the thread that runs it.
#pragma once

#include <windows.h>

int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
