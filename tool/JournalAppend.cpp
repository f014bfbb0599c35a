// One-write, mutex-guarded appends shared by the stand-in tool and the test recorder.
#include "tool/JournalAppend.h"

#include <windows.h>

#include <vector>

namespace Journal {
namespace {

// One name for every journal: appends are rare and tiny, so serialising them all costs nothing,
// and a fixed name cannot disagree between two spellings of the same path.
constexpr const wchar_t* kMutexName = L"Local\\OstrafenJournalAppend";

// A writer that died holding the mutex must not stall every later run for long.
constexpr DWORD kMutexWaitMs = 10000;

class CHandle {
public:
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle()
    {
        if (IsValid()) CloseHandle(m_handle);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class CMutexLock {
public:
    explicit CMutexLock(HANDLE mutex) : m_mutex(mutex)
    {
        // WAIT_ABANDONED still hands us ownership; the previous holder's line either went out
        // whole in its single write or not at all.
        const DWORD waited = m_mutex ? WaitForSingleObject(m_mutex, kMutexWaitMs) : WAIT_FAILED;
        m_owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~CMutexLock()
    {
        if (m_owned) ReleaseMutex(m_mutex);
    }
    CMutexLock(const CMutexLock&) = delete;
    CMutexLock& operator=(const CMutexLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_owned = false;
};

}  // namespace

std::wstring ModulePath()
{
    // Grow until the whole path fits: a cut path would put the journal in the wrong folder.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ModuleDirectory()
{
    const std::wstring path = ModulePath();
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring CurrentDirectory()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, directory.data());
    directory.resize(length < size ? length : 0);
    return directory;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool AppendLine(const std::wstring& path, const std::string& utf8Line)
{
    // Without the mutex we still append: one FILE_APPEND_DATA write is the best we can do alone.
    CHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    CMutexLock lock(mutex.Get());

    CHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;

    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(utf8Line.size());
    return WriteFile(file.Get(), utf8Line.data(), size, &written, nullptr) && written == size;
}

}  // namespace Journal
