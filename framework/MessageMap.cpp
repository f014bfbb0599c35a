// The one dispatch routine behind every message map.
#include "framework/MessageMap.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig::end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

static bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam)
{
    if (entry.nMessage != message) {
        return false;
    }
    return message != WM_COMMAND || (entry.nID == LOWORD(wParam) && entry.nCode == HIWORD(wParam));
}

bool CCmdTarget::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::end; ++entry) {
            if (!Matches(*entry, message, wParam)) {
                continue;
            }
            *result = 0;
            switch (entry->nSig) {
            case AfxSig::v_v:
                (this->*entry->pfn)();
                break;
            case AfxSig::hcur_v:
                *result = reinterpret_cast<LRESULT>((this->*reinterpret_cast<HCURSOR (CCmdTarget::*)()>(entry->pfn))());
                break;
            case AfxSig::v_u_l:
                (this->*reinterpret_cast<void (CCmdTarget::*)(UINT, LPARAM)>(entry->pfn))(static_cast<UINT>(wParam),
                                                                                          lParam);
                break;
            case AfxSig::b_helpinfo:
                *result = (this->*reinterpret_cast<BOOL (CCmdTarget::*)(HELPINFO*)>(entry->pfn))(
                    reinterpret_cast<HELPINFO*>(lParam));
                break;
            case AfxSig::end:
                break;
            }
            return true;
        }
    }
    return false;
}
