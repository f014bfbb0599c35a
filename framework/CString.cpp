// CString: shared immutable buffers; every change makes a new one.
#include "framework/CString.h"

#include "framework/CWinApp.h"

#include <cstdarg>
#include <cstdio>

CString::CString(const wchar_t* text)
{
    if (text != nullptr && *text != L'\0') {
        m_text = std::make_shared<const std::wstring>(text);
    }
}

CString::CString(const std::wstring& text)
{
    if (!text.empty()) {
        m_text = std::make_shared<const std::wstring>(text);
    }
}

void CString::Format(const wchar_t* format, ...)
{
    // The msvcrt functions, not the C99 ones MinGW may map vswprintf to: only they read %s in a wide
    // format as a wide string.
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    std::wstring text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        _vsnwprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    *this = CString(text);
}

bool CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands back a pointer into the resource itself.
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    *this = length > 0 ? CString(std::wstring(resource, static_cast<size_t>(length))) : CString();
    return length > 0;
}
