// CPaintDC: BeginPaint in the constructor, EndPaint in the destructor, so every WM_PAINT is validated.
#pragma once

#include "framework/CWnd.h"

#include <windows.h>

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    HDC m_hDC = nullptr;

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
};
