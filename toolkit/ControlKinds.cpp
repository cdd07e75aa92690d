#include "toolkit/ControlKinds.h"

#include "toolkit/WindowProc.h"

namespace {

void ClearText(TControl* control) {
    control->AssignText({});
}

void ResetListContent(TControl* control) {
    SendToControl(control, LB_RESETCONTENT, 0, 0);
}

} // namespace

const TKindDescriptor DefaultKind = {.ClearProc = ClearText};

const TKindDescriptor ListBoxKind = {
    .ClearProc = ResetListContent,
    .ClickCode = LBN_DBLCLK,
    .SetFocusCode = LBN_SETFOCUS,
    .KillFocusCode = LBN_KILLFOCUS,
    .SelChangeCode = LBN_SELCHANGE,
    .CountMsg = LB_GETCOUNT,
    .SetCountMsg = LB_SETCOUNT,
    .TextLenMsg = LB_GETTEXTLEN,
    .GetTextMsg = LB_GETTEXT,
    .GetDataMsg = LB_GETITEMDATA,
    .SetDataMsg = LB_SETITEMDATA,
    .AddMsg = LB_ADDSTRING,
    .DeleteMsg = LB_DELETESTRING,
    .InsertMsg = LB_INSERTSTRING,
    .FindExactMsg = LB_FINDSTRINGEXACT,
    .FindMsg = LB_FINDSTRING,
    .SelCountMsg = LB_GETSELCOUNT,
    .GetSelMsg = LB_GETSEL,
    .GetCurMsg = LB_GETCURSEL,
    .SetSelMsg = LB_SETSEL,
    .SetCurMsg = LB_SETCURSEL,
    .DirMsg = LB_DIR,
};

const TKindDescriptor ButtonKind = {
    .ClearProc = ClearText,
    .ClickCode = BN_CLICKED,
    .SetFocusCode = BN_SETFOCUS,
    .KillFocusCode = BN_KILLFOCUS,
    .AlignLeftBits = BS_LEFT,
    .AlignRightBits = BS_RIGHT,
    .AlignCenterBits = BS_CENTER,
    .ExtraAlignBytes = {0x0C, 0x04, 0x08},
    .AutoWidthPad = 14,
};

const TKindDescriptor StaticKind = {
    .ClearProc = ClearText,
    .ClickCode = STN_CLICKED,
    .AlignRightBits = SS_RIGHT,
    .AlignCenterBits = SS_CENTER,
    .AlignClearMask = 0x0C,
    .ExtraAlignBytes = {0x02, 0, 0},
    .AutoWidthPad = 1,
    .AutoHeightPad = 1,
};

const std::int32_t ListBoxOptionTable[ListBoxOptionCount] = {
    LBS_DISABLENOSCROLL,            // 0
    ~std::int32_t{LBS_EXTENDEDSEL}, // 1: extended selection unless set
    WS_HSCROLL | LBS_MULTICOLUMN,   // 2
    LBS_MULTIPLESEL,                // 3
    LBS_NOINTEGRALHEIGHT,           // 4
    LBS_NOSEL,                      // 5
    LBS_SORT,                       // 6
    LBS_USETABSTOPS,                // 7
    ~std::int32_t{LBS_HASSTRINGS},  // 8: strings kept unless set
    LBS_NODATA,                     // 9
    LBS_OWNERDRAWFIXED,             // 10
    LBS_OWNERDRAWVARIABLE,          // 11
};

DWORD ListBoxOptionStyle(std::uint32_t options) {
    DWORD style = 0;
    for (int bit = 0; bit < ListBoxOptionCount; ++bit) {
        const bool set = (options >> bit & 1u) != 0;
        const std::int32_t entry = ListBoxOptionTable[bit];
        if (entry < 0 && !set) {
            style |= static_cast<DWORD>(~entry);
        } else if (entry >= 0 && set) {
            style |= static_cast<DWORD>(entry);
        }
    }
    return style;
}
