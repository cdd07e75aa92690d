#pragma once

#include "toolkit/TObj.h"

class TList;
class TNyToolTip;

// Owns the process's tooltip windows. Every hint uses the first one.
class TNyToolTipManager : public TObj {
public:
    // The first tooltip window, made when there is none yet.
    TNyToolTip* FirstToolTip();
    const TList* ToolTips() const { return toolTips; }

    friend TNyToolTipManager* RequireToolTipManager();

protected:
    TNyToolTipManager() = default;
    ~TNyToolTipManager() override;
    void InitFields() override;

private:
    TList* toolTips = nullptr; // owned TNyToolTip objects
};

// The process-wide manager, or null before the first hint.
extern TNyToolTipManager* ToolTipManager;
// ToolTipManager, made first when it does not exist.
TNyToolTipManager* RequireToolTipManager();
// Frees the manager with its tooltip windows; hints made so far must not be used afterwards.
void FreeToolTipManager();
