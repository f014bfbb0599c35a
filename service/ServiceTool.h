// The command-line interface of the service tool velmarid.exe, which this utility only ever starts:
// its file name, the switches we pass, and its usage text as the tool itself prints it.
#pragma once

namespace ServiceTool {

constexpr const wchar_t* kFileName = L"velmarid.exe";

// Appended to a run's switch when the run's window is shown (leading and trailing space included).
constexpr const wchar_t* kShowSuffix = L" -show ";

constexpr const wchar_t* kInstall = L"-i";
constexpr const wchar_t* kUninstall = L"-u";
constexpr const wchar_t* kStop = L"-t";
constexpr const wchar_t* kPause = L"-p";
constexpr const wchar_t* kResume = L"-r";
constexpr const wchar_t* kStart = L"";  // no switch at all
constexpr const wchar_t* kFirewall = L"-f";

constexpr const wchar_t* kUsage =
    L"velmarid.exe -[i|u|e|t|p|r|c|v|f|h]\r\n"
    L"  -i(nstall)[account][password] : Install the service, optionally using given account and password\r\n"
    L"  -u(ninstall) : Uninstall the service.\r\n"
    L"  -t(erminate) : Stop the service.\r\n"
    L"  -p(ause) : Pause the service.\r\n"
    L"  -r(esume) : Resume a paused service.\r\n"
    L"  -c(ommand) num : Send command code num to the service.\r\n"
    L"  -v(ersion) : Print version and status information.\r\n"
    L"  -f(irewall) : Add rules to firewall.\r\n"
    L"  -h(elp) : Show this help\r\n"
    L"  No arguments : Start the service.\r\n";

}  // namespace ServiceTool
