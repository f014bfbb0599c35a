// Sandboxes live under the Wine prefix's temp folder, one per test.
#include "tests/support/Sandbox.h"

#include <stdexcept>

namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

void Require(bool ok, const char* what)
{
    if (!ok) throw std::runtime_error(what);
}

}  // namespace

std::wstring TestsFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::wstring BinFolder() { return FolderOf(TestsFolder()) + L"\\bin"; }

std::wstring NewTempFolder(const wchar_t* prefix)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    // A folder left by an earlier run that was killed may hold the name: take the next one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = std::wstring(temp) + prefix + L"-" + std::to_wstring(::GetCurrentProcessId()) +
                                    L"-" + std::to_wstring(::InterlockedIncrement(&counter));
        if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::wstring();
}

Sandbox::Sandbox(const std::wstring& program, ToolBeside tool) : m_root(NewTempFolder(L"sandbox"))
{
    m_folder = m_root + L"\\utility";
    m_elsewhere = m_root + L"\\elsewhere";
    Require(!m_root.empty() && ::CreateDirectoryW(m_folder.c_str(), nullptr) &&
                ::CreateDirectoryW(m_elsewhere.c_str(), nullptr),
            "cannot create the sandbox folders");

    const std::wstring source = (program == L"ostrafen.exe" ? BinFolder() : TestsFolder()) + L"\\" + program;
    m_program = m_folder + L"\\" + program;
    Require(::CopyFileW(source.c_str(), m_program.c_str(), TRUE), "cannot copy the program under test");
    switch (tool) {
    case ToolBeside::Recorder:
        Require(::CopyFileW((TestsFolder() + L"\\recorder.exe").c_str(), ToolPath().c_str(), TRUE),
                "cannot copy the recorder");
        break;
    case ToolBeside::Directory:
        Require(::CreateDirectoryW(ToolPath().c_str(), nullptr), "cannot create the velmarid.exe directory");
        break;
    case ToolBeside::Nothing:
        break;
    }
}

Sandbox::~Sandbox() { RemoveTree(m_root); }

void RemoveTree(const std::wstring& path)
{
    // Only ever a folder of our own under the temp folder: never an empty path (which would list the
    // root of the current drive) or a drive's root.
    wchar_t temp[MAX_PATH] = {};
    const DWORD tempLength = ::GetTempPathW(MAX_PATH, temp);
    if (tempLength == 0 || path.size() <= tempLength || path.compare(0, tempLength, temp) != 0) {
        return;
    }
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}
