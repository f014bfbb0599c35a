// The stand-in for the service tool velmarid.exe: it takes the real tool's switches, says what the
// real tool would do, notes each run in velmarid.log beside itself, and changes no service.
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <iterator>
#include <string>
#include <vector>

#include "service/ServiceTool.h"
#include "tool/JournalAppend.h"

namespace {

// Switches the utility never passes but the real tool documents.
constexpr const wchar_t* kCommand = L"-c";
constexpr const wchar_t* kVersion = L"-v";
constexpr const wchar_t* kHelp = L"-h";

constexpr const wchar_t* kJournalName = L"velmarid.log";
constexpr const wchar_t* kNoSwitch = L"(none)";
constexpr const wchar_t* kPrefix = L"velmarid stand-in: ";
constexpr const wchar_t* kNothingChanged = L"; no service was changed.\r\n";
constexpr const wchar_t* kJournalVerdict = L"stand-in: no service changed";

// Long enough to read two lines, short enough not to hold up a sequence of shown runs.
constexpr DWORD kShownLingerMs = 1500;

enum class Outcome { Done, Help, Unknown };

// What one switch stands for. `operandsMin`/`operandsMax` count the words after the switch.
struct SwitchInfo {
    const wchar_t* name;
    int operandsMin;
    int operandsMax;
    const wchar_t* wouldDo;  // nullptr: the switch has its own answer
};

const SwitchInfo kSwitches[] = {
    {ServiceTool::kInstall, 0, 2, L"would install the service"},
    {ServiceTool::kUninstall, 0, 0, L"would uninstall the service"},
    {ServiceTool::kStop, 0, 0, L"would stop the service"},
    {ServiceTool::kPause, 0, 0, L"would pause the service"},
    {ServiceTool::kResume, 0, 0, L"would resume the paused service"},
    {kCommand, 1, 1, L"would send command code "},
    {kVersion, 0, 0, nullptr},
    {ServiceTool::kFirewall, 0, 0, L"would add the service's rules to the firewall"},
    {kHelp, 0, 0, nullptr},
};

// The "-show" word itself, taken from the suffix the utility appends.
std::wstring ShowWord()
{
    const std::wstring suffix = ServiceTool::kShowSuffix;
    const size_t first = suffix.find_first_not_of(L' ');
    const size_t last = suffix.find_last_not_of(L' ');
    return suffix.substr(first, last - first + 1);
}

bool IsDecimal(const std::wstring& text)
{
    if (text.empty()) return false;
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) return false;
    }
    return true;
}

// One run as the command line asked for it.
struct Request {
    std::wstring toolSwitch;  // empty: the start form
    std::vector<std::wstring> operands;
    bool shown = false;
};

Request ReadRequest(int argc, wchar_t** argv)
{
    const std::wstring showWord = ShowWord();
    Request request;
    bool haveSwitch = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring word = argv[i];
        if (word == showWord) {
            request.shown = true;
        } else if (!haveSwitch) {
            request.toolSwitch = word;
            haveSwitch = true;
        } else {
            request.operands.push_back(word);
        }
    }
    return request;
}

const SwitchInfo* FindSwitch(const std::wstring& name)
{
    for (const SwitchInfo& info : kSwitches) {
        if (name == info.name) return &info;
    }
    return nullptr;
}

Outcome Classify(const Request& request, const SwitchInfo* info)
{
    if (request.toolSwitch.empty()) return request.operands.empty() ? Outcome::Done : Outcome::Unknown;
    if (!info) return Outcome::Unknown;
    const int count = static_cast<int>(request.operands.size());
    if (count < info->operandsMin || count > info->operandsMax) return Outcome::Unknown;
    if (request.toolSwitch == kCommand && !IsDecimal(request.operands[0])) return Outcome::Unknown;
    return request.toolSwitch == kHelp ? Outcome::Help : Outcome::Done;
}

// What the user reads for a run that was understood.
std::wstring Answer(const Request& request, const SwitchInfo* info)
{
    if (request.toolSwitch.empty())
        return kPrefix + std::wstring(L"would start the service (no switch)") + kNothingChanged;
    if (request.toolSwitch == kVersion) {
        return kPrefix +
               std::wstring(
                   L"a test double for the Ostrafen utility, not the real tool; there is no "
                   L"service, so no version or status to report (-v)") +
               kNothingChanged;
    }
    std::wstring text = kPrefix + std::wstring(info->wouldDo);
    if (request.toolSwitch == kCommand) {
        text += request.operands[0] + L" to the service (-c " + request.operands[0] + L")";
        return text + kNothingChanged;
    }
    if (!request.operands.empty()) text += L" as account \"" + request.operands[0] + L"\"";
    if (request.operands.size() > 1) text += L" with the password given";
    return text + L" (" + request.toolSwitch + L")" + kNothingChanged;
}

// The switch and its words as the journal keeps them; a password never reaches the file.
std::wstring JournalSwitch(const Request& request, Outcome outcome)
{
    if (request.toolSwitch.empty() && request.operands.empty()) return kNoSwitch;
    std::wstring text = request.toolSwitch.empty() ? kNoSwitch : request.toolSwitch;
    for (size_t i = 0; i < request.operands.size(); ++i) {
        const bool password = request.toolSwitch == ServiceTool::kInstall && i == 1;
        text += L" " + (password ? std::wstring(L"***") : request.operands[i]);
    }
    if (outcome == Outcome::Unknown) text += L" (not understood: usage printed)";
    return text;
}

// A journal line is one line: control characters in a field would split it.
std::wstring OneLine(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    }
    return text;
}

void WriteJournal(const Request& request, Outcome outcome)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, std::size(stamp), L"%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond, now.wMilliseconds);

    const std::wstring line = std::wstring(stamp) + L"\tpid " + std::to_wstring(GetCurrentProcessId()) + L"\t" +
                              OneLine(JournalSwitch(request, outcome)) + L"\t" +
                              (request.shown ? L"shown" : L"hidden") + L"\t" + OneLine(Journal::CurrentDirectory()) +
                              L"\t" + kJournalVerdict + L"\r\n";

    const std::wstring folder = Journal::ModuleDirectory();
    if (!folder.empty()) Journal::AppendLine(folder + L"\\" + kJournalName, Journal::ToUtf8(line));
}

// A console gets UTF-16 as it is; a pipe or file gets UTF-8, which is what readers of our output
// expect from a redirected stream.
void Print(DWORD stdHandle, const std::wstring& text)
{
    const HANDLE out = GetStdHandle(stdHandle);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        const std::string utf8 = Journal::ToUtf8(text);
        WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const Request request = ReadRequest(argc, argv);
    const SwitchInfo* info = FindSwitch(request.toolSwitch);
    const Outcome outcome = Classify(request, info);

    WriteJournal(request, outcome);

    switch (outcome) {
    case Outcome::Done:
        Print(STD_OUTPUT_HANDLE, Answer(request, info));
        break;
    case Outcome::Help:
        Print(STD_OUTPUT_HANDLE, ServiceTool::kUsage);
        break;
    case Outcome::Unknown:
        Print(STD_ERROR_HANDLE, kPrefix + std::wstring(L"command line not understood") + kNothingChanged);
        Print(STD_OUTPUT_HANDLE, ServiceTool::kUsage);
        break;
    }

    if (request.shown) Sleep(kShownLingerMs);
    return outcome == Outcome::Unknown ? 1 : 0;
}
