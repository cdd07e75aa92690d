#include "toolkit/TNyHint.h"

#include <array>
#include <string>

#include "toolkit/TControl.h"
#include "toolkit/TNyToolTip.h"
#include "toolkit/TNyToolTipManager.h"

namespace {

// The record as the tooltip control knows it from its second version on: up to lParam.
const UINT ToolInfoSize = static_cast<UINT>(TTTOOLINFOA_V2_SIZE);

// The control's window as both window and id of its tool (made first if needed).
TOOLINFOA ToolOf(TControl* control) {
    TOOLINFOA tool = {};
    tool.cbSize = ToolInfoSize;
    tool.hwnd = control->GetHandle();
    tool.uId = reinterpret_cast<UINT_PTR>(tool.hwnd);
    return tool;
}

LPARAM AddressOf(TOOLINFOA& tool) {
    return reinterpret_cast<LPARAM>(&tool);
}

} // namespace

TNyHint* NewHint(TControl* control) {
    TNyHint* hint = TNyHint::Created(new TNyHint);
    hint->Control = control;
    return hint;
}

void SetHintText(TNyHint* hint, std::string_view text) {
    if (hint->ToolTip == nullptr) {
        hint->ToolTip = RequireToolTipManager()->FirstToolTip();
    }
    HWND toolTipWindow = hint->ToolTip->Handle;
    TOOLINFOA tool = ToolOf(hint->Control);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = hint->Control->ClientRect();
    // The tooltip keeps its own copy of the text; these buffers only carry it across.
    std::string newText(text);
    std::array<char, 256> stored = {};
    if (!hint->Registered) {
        tool.lpszText = newText.data();
        SendMessageA(toolTipWindow, TTM_ADDTOOLA, 0, AddressOf(tool));
        hint->Registered = true;
        ++hint->ToolTip->ToolCount;
    } else {
        tool.lpszText = stored.data();
        SendMessageA(toolTipWindow, TTM_GETTOOLINFOA, 0, AddressOf(tool));
    }
    tool.lpszText = newText.data();
    SendMessageA(toolTipWindow, TTM_UPDATETIPTEXTA, 0, AddressOf(tool));
}

void RemoveHint(TNyHint* hint) {
    if (hint->ToolTip == nullptr || !hint->Registered) {
        return;
    }
    TOOLINFOA tool = ToolOf(hint->Control);
    SendMessageA(hint->ToolTip->Handle, TTM_DELTOOLA, 0, AddressOf(tool));
    hint->Registered = false;
    --hint->ToolTip->ToolCount;
}
