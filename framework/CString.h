// A reference-counted wide string with the small interface the program uses: copies share one
// immutable buffer, so passing a CString around never copies its characters.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text);  // implicit, like the literals it usually wraps
    CString(const std::wstring& text);

    bool IsEmpty() const { return GetLength() == 0; }
    int GetLength() const { return m_text ? static_cast<int>(m_text->size()) : 0; }
    operator const wchar_t*() const { return m_text ? m_text->c_str() : L""; }

    // printf-style formatting with the Windows meaning of the conversions: %s takes a wide string.
    void Format(const wchar_t* format, ...);

    // Replaces the text with string resource `id` of the current resource module; false when the
    // resource is missing (the string is then empty).
    bool LoadString(UINT id);

    friend bool operator==(const CString& a, const CString& b) { return wcscmp(a, b) == 0; }

private:
    std::shared_ptr<const std::wstring> m_text;
};
