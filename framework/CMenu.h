// CMenu: a menu handle the system owns (such as a window's system menu); it is never destroyed here.
#pragma once

#include <windows.h>

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    explicit CMenu(HMENU menu) : m_hMenu(menu) {}

    explicit operator bool() const { return m_hMenu != nullptr; }
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, const wchar_t* newItem = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, idNewItem, newItem);
    }
};
