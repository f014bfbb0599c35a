// Message maps: each window class lists the messages it handles in a static table, and one routine
// (CCmdTarget::DispatchMessageMap) walks a class's table, then its base classes' tables, to find the
// handler. The handler's signature is recorded with it, so the call is made with the right arguments.
#pragma once

#include <windows.h>

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

enum class AfxSig {
    end,        // terminates a table
    v_v,        // void OnXxx()
    hcur_v,     // HCURSOR OnXxx()
    v_u_l,      // void OnXxx(UINT, LPARAM)
    b_helpinfo  // BOOL OnXxx(HELPINFO*)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // the window message; WM_COMMAND for command entries
    UINT nCode;     // notification code of a WM_COMMAND (BN_CLICKED, ...)
    UINT nID;       // control or command id of a WM_COMMAND
    AfxSig nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The macros are laid out as the tables they build.
// clang-format off
#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                             \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                        \
    {                                                                                      \
        using ThisClass [[maybe_unused]] = theClass;                                       \
        using TheBaseClass = baseClass;                                                    \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                          \
    {0, 0, 0, AfxSig::end, nullptr}                                                \
    }                                                                              \
    ;                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
    return &map;                                                                   \
    }

// The static_cast checks the handler's signature; the reinterpret_cast only files it in the table
// (it is cast back to the same type before the call).
#define AFX_ENTRY_FN(type, fn) reinterpret_cast<AFX_PMSG>(static_cast<type>(fn))

#define ON_WM_PAINT() {WM_PAINT, 0, 0, AfxSig::v_v, AFX_ENTRY_FN(void (CCmdTarget::*)(), &ThisClass::OnPaint)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AfxSig::hcur_v, AFX_ENTRY_FN(HCURSOR (CCmdTarget::*)(), &ThisClass::OnQueryDragIcon)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AfxSig::v_u_l, AFX_ENTRY_FN(void (CCmdTarget::*)(UINT, LPARAM), &ThisClass::OnSysCommand)},
#define ON_WM_HELPINFO() \
    {WM_HELP, 0, 0, AfxSig::b_helpinfo, AFX_ENTRY_FN(BOOL (CCmdTarget::*)(HELPINFO*), &ThisClass::OnHelpInfo)},
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, static_cast<UINT>(id), AfxSig::v_v, AFX_ENTRY_FN(void (CCmdTarget::*)(), fn)},
#define ON_BN_CLICKED(id, fn) \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), AfxSig::v_v, AFX_ENTRY_FN(void (CCmdTarget::*)(), fn)},
// clang-format on

// The root of everything that has a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Finds the entry for a message (for WM_COMMAND: its id and notification code) in this object's
    // map or a base class's, and calls it. False when no entry matches.
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
