// The service tool's location, presence check and launch through the shell.
#include "service/ServiceToolLauncher.h"

#include "framework/AfxMessageBox.h"
#include "service/ServiceTool.h"

#include <shellapi.h>

namespace {

const wchar_t kMissingToolFormat[] = L"缺失文件: %s\r\n请重新下载最新安装包!";

}  // namespace

ServiceToolLocation DeriveServiceToolLocation(const std::wstring& modulePath)
{
    size_t separator = modulePath.rfind(L'\\');
    if (separator == std::wstring::npos) {
        separator = modulePath.rfind(L'/');
    }
    ServiceToolLocation location;
    location.moduleDirectory = separator == std::wstring::npos ? modulePath : modulePath.substr(0, separator);
    location.toolPath = location.moduleDirectory + L"\\" + ServiceTool::kFileName;
    return location;
}

void LocateServiceTool(std::wstring& toolPath, std::wstring& moduleDirectory, ModuleFileNameReader reader)
{
    toolPath.clear();
    moduleDirectory.clear();
    if (const std::optional<std::wstring> modulePath = ReadModulePath(reader)) {
        ServiceToolLocation location = DeriveServiceToolLocation(*modulePath);
        toolPath = std::move(location.toolPath);
        moduleDirectory = std::move(location.moduleDirectory);
    }
}

bool IsServiceToolPresent(const std::wstring& toolPath)
{
    // Longer paths the shell cannot start (under Wine it even overruns a buffer), though the file
    // system may still report the file.
    if (toolPath.empty() || toolPath.size() >= MAX_PATH) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(toolPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring BuildServiceToolParameters(const CString& toolSwitch, bool show)
{
    std::wstring parameters;
    if (!toolSwitch.IsEmpty()) {
        parameters += toolSwitch;
    }
    if (show) {
        parameters += ServiceTool::kShowSuffix;
    }
    return parameters;
}

bool CheckServiceTool()
{
    std::wstring toolPath;
    std::wstring moduleDirectory;
    LocateServiceTool(toolPath, moduleDirectory);
    if (IsServiceToolPresent(toolPath)) {
        return true;
    }
    CString message;
    message.Format(kMissingToolFormat, toolPath.empty() ? ServiceTool::kFileName : toolPath.c_str());
    AfxMessageBox(message, MB_OK);
    return false;
}

void LaunchServiceTool(const CString& toolSwitch, bool show)
{
    std::wstring toolPath;
    std::wstring moduleDirectory;
    LocateServiceTool(toolPath, moduleDirectory);
    if (!IsServiceToolPresent(toolPath)) {
        return;
    }
    const std::wstring parameters = BuildServiceToolParameters(toolSwitch, show);

    // No SEE_MASK_NOCLOSEPROCESS: no process handle is asked for, none is held, nothing waits.
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof(request);
    request.hwnd = nullptr;
    request.lpVerb = L"open";
    request.lpFile = toolPath.c_str();
    request.lpParameters = parameters.c_str();
    request.lpDirectory = moduleDirectory.c_str();
    request.nShow = show ? SW_SHOW : SW_HIDE;
    ::ShellExecuteExW(&request);  // the outcome of a run is never observed
}
