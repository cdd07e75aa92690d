#include "toolkit/TNyToolTipManager.h"

#include "toolkit/TList.h"
#include "toolkit/TNyToolTip.h"

TNyToolTipManager* ToolTipManager = nullptr;

void TNyToolTipManager::InitFields() {
    TObj::InitFields();
    toolTips = CreateList();
}

TNyToolTipManager::~TNyToolTipManager() {
    for (std::int32_t i = toolTips->Count() - 1; i >= 0; --i) {
        Free(static_cast<TNyToolTip*>(toolTips->Get(i)));
    }
    Free(toolTips);
}

TNyToolTip* TNyToolTipManager::FirstToolTip() {
    if (toolTips->Count() == 0) {
        toolTips->Add(NewToolTip());
    }
    return static_cast<TNyToolTip*>(toolTips->Get(0));
}

TNyToolTipManager* RequireToolTipManager() {
    if (ToolTipManager == nullptr) {
        ToolTipManager = TNyToolTipManager::Created(new TNyToolTipManager);
    }
    return ToolTipManager;
}

void FreeToolTipManager() {
    TNyToolTipManager* manager = ToolTipManager;
    ToolTipManager = nullptr;
    Free(manager);
}
