// Where the service tool is, whether it is there, and how one run of it is started. No state is kept
// between calls, so any thread may call these at any time.
#pragma once

#include "framework/CString.h"
#include "framework/ModulePath.h"

#include <windows.h>

#include <string>

// The module directory is the module path up to its last backslash, or else its last forward slash,
// or the whole path when it has neither; the tool path is that directory and "\velmarid.exe".
struct ServiceToolLocation {
    std::wstring toolPath;
    std::wstring moduleDirectory;
};
ServiceToolLocation DeriveServiceToolLocation(const std::wstring& modulePath);

// Both strings are left empty when the module path cannot be read whole.
void LocateServiceTool(std::wstring& toolPath, std::wstring& moduleDirectory,
                       ModuleFileNameReader reader = &::GetModuleFileNameW);

// The tool is present when its path names an existing file, not a directory, and is short enough
// for the shell to start (shorter than MAX_PATH, as Windows itself requires without long-path
// support).
bool IsServiceToolPresent(const std::wstring& toolPath);

// The parameters of one run: the switch, then " -show " when the run's window is shown.
std::wstring BuildServiceToolParameters(const CString& toolSwitch, bool show);

// True when the tool is present; otherwise tells the user which file is missing and returns false.
bool CheckServiceTool();

// Starts one run of the tool in the utility's folder and returns at once, never waiting for it;
// does nothing, silently, when the tool is not present.
void LaunchServiceTool(const CString& toolSwitch, bool show);
