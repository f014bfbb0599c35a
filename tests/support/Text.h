// Wide text in GoogleTest's failure messages, which are narrow: UTF-8, so Chinese stays readable.
#pragma once

#include <windows.h>

#include <string>

inline std::string Narrow(const std::wstring& text)
{
    if (text.empty()) return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}
