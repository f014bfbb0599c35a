// The service tool launcher's pure parts: where the tool is looked for, what a run is passed, when the
// tool counts as present, and how the module path is read.
#include "framework/ModulePath.h"
#include "service/ServiceTool.h"
#include "service/ServiceToolLauncher.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Where the tool is looked for, given where we run from.
struct LocateCase {
    const wchar_t* modulePath;
    const wchar_t* directory;
};
constexpr LocateCase kLocate[] = {
    {L"C:\\Tools\\x.exe", L"C:\\Tools"},
    {L"C:/Tools/sub/x.exe", L"C:/Tools/sub"},
    {L"C:\\a/b\\c/x.exe", L"C:\\a/b"},  // the last backslash wins over a later slash
    {L"x.exe", L"x.exe"},               // no separator at all: the whole path
    {L"\\\\server\\share\\x.exe", L"\\\\server\\share"},
    {L"C:\\x.exe", L"C:"},
};

TEST(LocateServiceTool, DirectoryIsModulePathUpToItsLastSeparator)
{
    for (const LocateCase& c : kLocate) {
        SCOPED_TRACE(Narrow(c.modulePath));
        const ServiceToolLocation location = DeriveServiceToolLocation(c.modulePath);
        EXPECT_EQ(location.moduleDirectory, c.directory);
        EXPECT_EQ(location.toolPath, std::wstring(c.directory) + L"\\velmarid.exe");
    }
}

// The parameters of one run.
struct ParameterCase {
    const wchar_t* toolSwitch;
    bool show;
    const wchar_t* parameters;
};
// clang-format off
constexpr ParameterCase kParameters[] = {
    {L"-i", true,  L"-i -show "},  // the trailing space is part of it
    {L"-t", false, L"-t"},
    {L"",   false, L""},           // the tool's start form
    {L"",   true,  L" -show "},
    {L"-f", true,  L"-f -show "},
};
// clang-format on

TEST(LaunchServiceTool, ParametersAreTheSwitchThenShowSuffix)
{
    for (const ParameterCase& c : kParameters) {
        SCOPED_TRACE(Narrow(c.toolSwitch) + (c.show ? " shown" : " hidden"));
        EXPECT_EQ(BuildServiceToolParameters(c.toolSwitch, c.show), c.parameters);
    }
}

// A scratch folder under the prefix's temp directory, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder() : m_path(NewTempFolder(L"launcher-test")) {}
    ~ScratchFolder() { RemoveTree(m_path); }
    const std::wstring& path() const { return m_path; }

private:
    std::wstring m_path;
};

void WriteFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
}

TEST(CheckServiceTool, PresentOnlyWhenTheToolIsAFile)
{
    ScratchFolder folder;
    const std::wstring file = folder.path() + L"\\file\\velmarid.exe";
    const std::wstring directory = folder.path() + L"\\directory\\velmarid.exe";
    ::CreateDirectoryW((folder.path() + L"\\file").c_str(), nullptr);
    WriteFile(file);
    ::CreateDirectoryW((folder.path() + L"\\directory").c_str(), nullptr);
    ::CreateDirectoryW(directory.c_str(), nullptr);

    EXPECT_TRUE(IsServiceToolPresent(file));
    EXPECT_FALSE(IsServiceToolPresent(folder.path() + L"\\missing\\velmarid.exe"));
    EXPECT_FALSE(IsServiceToolPresent(directory)) << "a directory named velmarid.exe is no tool";
    EXPECT_FALSE(IsServiceToolPresent(L""));
}

TEST(CheckServiceTool, PathTooLongForTheShellCountsAsMissing)
{
    // The file exists (Wine's file system takes such paths), but the shell cannot start it.
    ScratchFolder folder;
    std::wstring deep = folder.path();
    while (deep.size() < MAX_PATH) {
        deep += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::wstring tool = deep + L"\\velmarid.exe";
    WriteFile(tool);
    ASSERT_NE(::GetFileAttributesW(tool.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(IsServiceToolPresent(tool));
}

// A module path reader standing in for GetModuleFileNameW, for a module path of any length. It behaves
// as Windows does since Vista: a path that does not fit is cut to size - 1 characters, terminated, and
// the result is `size` with ERROR_INSUFFICIENT_BUFFER.
std::wstring g_fakeModulePath;
DWORD g_largestBufferAsked = 0;

DWORD WINAPI FakeModuleFileName(HMODULE, LPWSTR buffer, DWORD size)
{
    g_largestBufferAsked = size > g_largestBufferAsked ? size : g_largestBufferAsked;
    if (g_fakeModulePath.size() < size) {
        wcscpy(buffer, g_fakeModulePath.c_str());
        return static_cast<DWORD>(g_fakeModulePath.size());
    }
    wcsncpy(buffer, g_fakeModulePath.c_str(), size - 1);
    buffer[size - 1] = L'\0';
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

DWORD WINAPI FailingModuleFileName(HMODULE, LPWSTR, DWORD)
{
    ::SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

// A module path of `length` characters ending in "\x.exe", in a folder of nested 50-character names.
std::wstring ModulePathOfLength(size_t length)
{
    std::wstring path = L"C:";
    while (path.size() + 51 + 6 <= length) path += L"\\" + std::wstring(50, L'a');
    path += L"\\" + std::wstring(length - path.size() - 7, L'b');
    return path + L"\\x.exe";
}

TEST(ReadModulePath, ReadsTheWholePathWhateverItsLength)
{
    for (size_t length : {20u, 1023u, 1024u, 1025u, 5000u, 32766u}) {
        SCOPED_TRACE(length);
        g_fakeModulePath = ModulePathOfLength(length);
        ASSERT_EQ(g_fakeModulePath.size(), length);
        EXPECT_EQ(ReadModulePath(&FakeModuleFileName), g_fakeModulePath);
    }
}

TEST(ReadModulePath, StartsWithAThousandCharacterBuffer)
{
    g_fakeModulePath = ModulePathOfLength(300);
    g_largestBufferAsked = 0;
    ReadModulePath(&FakeModuleFileName);
    EXPECT_EQ(g_largestBufferAsked, 1024u);
}

TEST(ReadModulePath, NothingWhenThePathCannotBeReadWhole)
{
    g_fakeModulePath = ModulePathOfLength(40000);  // beyond what any buffer the platform allows holds
    EXPECT_EQ(ReadModulePath(&FakeModuleFileName), std::nullopt);
    EXPECT_EQ(ReadModulePath(&FailingModuleFileName), std::nullopt);
}

TEST(LocateServiceTool, LongModulePathYieldsItsOwnFolderNotAnAncestor)
{
    // With a 1024-character buffer this path would be cut inside a folder name, and the derived tool
    // path would point into an ancestor folder.
    g_fakeModulePath = ModulePathOfLength(1500);
    std::wstring toolPath, moduleDirectory;
    LocateServiceTool(toolPath, moduleDirectory, &FakeModuleFileName);
    EXPECT_EQ(moduleDirectory, g_fakeModulePath.substr(0, g_fakeModulePath.size() - 6));
    EXPECT_EQ(toolPath, moduleDirectory + L"\\velmarid.exe");
}

TEST(LocateServiceTool, UnreadableModulePathLocatesNothing)
{
    std::wstring toolPath = L"stale", moduleDirectory = L"stale";
    LocateServiceTool(toolPath, moduleDirectory, &FailingModuleFileName);
    EXPECT_EQ(toolPath, L"");
    EXPECT_EQ(moduleDirectory, L"");
    EXPECT_FALSE(IsServiceToolPresent(toolPath)) << "an unreadable module path must not start any tool";
}

}  // namespace
